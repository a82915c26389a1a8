#include "interface/key_block.h"

#include <cstdint>

namespace {

void StoreLittleEndian(unsigned char* out, std::uint32_t value) {
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
    out[2] = static_cast<unsigned char>(value >> 16);
    out[3] = static_cast<unsigned char>(value >> 24);
}

} // namespace

HGLOBAL MakeKeyBlock(const CDWordArray& keys, KeyCount count) {
    const std::size_t size = static_cast<std::size_t>(keys.GetSize());
    const std::size_t first = count == KeyCount::First ? 1 : 0;
    GlobalBlockOwner block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4 * (first + size)));
    if (!block.get())
        return nullptr;
    {
        GlobalLockGuard lock(block.get());
        auto* bytes = static_cast<unsigned char*>(lock.data());
        if (!bytes)
            return nullptr;
        if (first)
            StoreLittleEndian(bytes, static_cast<std::uint32_t>(size));
        for (std::size_t i = 0; i < size; ++i)
            StoreLittleEndian(bytes + 4 * (first + i), keys[static_cast<int>(i)]);
    }
    return block.release();
}
