#include "interface/entry_table_reader.h"

#include "platform/global_memory.h"

#include <cstring>

namespace {

std::uint32_t Read16(const unsigned char* at) {
    return at[0] | (at[1] << 8);
}

std::uint32_t Read32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

} // namespace

std::vector<ChunkEntry> ReadEntryTable(HGLOBAL table) {
    std::vector<ChunkEntry> entries;
    if (!table)
        return entries;
    GlobalBlockOwner owner(table);
    GlobalLockGuard lock(table);
    const auto* block = static_cast<const unsigned char*>(lock.data());
    const std::size_t size = lock.size();
    if (!block || size < entry_table::kHeaderSize)
        return entries;

    const std::size_t first = Read16(block + entry_table::kFirstEntryOffset);
    const std::size_t count = Read16(block + entry_table::kCountOffset);
    const std::size_t entrySize = Read16(block + entry_table::kEntrySizeOffset);
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t start = first + i * entrySize;
        if (start + entry_table::kKeyOffset + 4 > size)
            break; // every later entry starts further out (or at the same place when the size is 0)
        ChunkEntry entry{Read32(block + start + entry_table::kKeyOffset), CString()};
        const std::size_t nameStart = start + entry_table::kNameOffset;
        if (nameStart < size) {
            const auto* name = reinterpret_cast<const char*>(block + nameStart);
            const void* end = std::memchr(name, '\0', size - nameStart);
            const std::size_t length =
                end ? static_cast<const char*>(end) - name : size - nameStart;
            entry.name = CString(name, static_cast<int>(length));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}
