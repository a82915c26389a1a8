#include "host/entry_table.h"

#include "host/little_endian.h"

#include <algorithm>
#include <cstring>

namespace refhost {
namespace {

// The longest prefix of `name` that fits `capacity` - 1 bytes without splitting a UTF-8 sequence.
// Continuation bytes with no lead byte before them to claim them are characters of their own
// (Windows-1252 bytes another program wrote, such as 0x80 for the euro sign), and stay.
std::size_t FittingLength(const std::string& name, std::size_t capacity) {
    std::size_t length = std::min(name.size(), capacity - 1);
    if (length == name.size())
        return length;
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, length); ++back) {
        const auto lead = static_cast<unsigned char>(name[length - back]);
        if ((lead & 0xC0) == 0x80)
            continue;
        const std::size_t sequence = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (sequence > back)
            length -= back;
        break;
    }
    return length;
}

} // namespace

HGLOBAL BuildEntryTable(const std::vector<Entry>& entries) {
    const std::size_t count = std::min(entries.size(), kMaxTableEntries);
    if (count == 0)
        return nullptr;
    GlobalBlockOwner block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                       entry_table::kHeaderSize + count * kEntryRowSize));
    if (!block.get())
        return nullptr;
    {
        GlobalLockGuard lock(block.get());
        auto* data = static_cast<BYTE*>(lock.data());
        if (!data)
            return nullptr;
        Store16(data + entry_table::kFirstEntryOffset, entry_table::kHeaderSize);
        Store16(data + entry_table::kCountOffset, static_cast<std::uint16_t>(count));
        Store16(data + entry_table::kEntrySizeOffset, kEntryRowSize);
        for (std::size_t i = 0; i < count; ++i) {
            BYTE* row = data + entry_table::kHeaderSize + i * kEntryRowSize;
            Store32(row + entry_table::kKeyOffset, entries[i].key);
            const std::string& name = entries[i].name;
            std::memcpy(row + entry_table::kNameOffset, name.data(),
                        FittingLength(name, kEntryNameCapacity));
        }
    }
    return block.release();
}

} // namespace refhost
