#include "host/chunk_list.h"

#include "host/little_endian.h"
#include "platform/global_memory.h"

namespace refhost {

std::vector<std::uint32_t> TakeChunkList(void* block) {
    std::vector<std::uint32_t> keys;
    if (!block)
        return keys;
    GlobalBlockOwner owner(static_cast<HGLOBAL>(block));
    GlobalLockGuard lock(owner.get());
    const auto* bytes = static_cast<const BYTE*>(lock.data());
    const std::uint32_t count = Load32(bytes);
    keys.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        keys.push_back(Load32(bytes + 4 + 4 * std::size_t(i)));
    return keys;
}

} // namespace refhost
