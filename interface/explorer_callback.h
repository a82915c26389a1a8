// The record of host functions through which the browser dialog creates, renames and removes the
// host's chunks and the entries inside them, asks for permissions and lists a chunk's entries.
#pragma once

#include "platform/global_memory.h"

#include <cstdint>

using ChunkId = std::uint32_t;
using FolderId = std::uint32_t;
using EntryId = std::uint32_t;

// The result of CreateChunk when no chunk could be created.
constexpr ChunkId kNoChunk = 0xFFFFFFFFu;

// Eleven function slots in this order; the host keeps the record alive while it uses the library.
struct EXPLORER_CALLBACK {
    ChunkId (*CreateChunk)(const char* name, FolderId folder);                   // 0
    std::int32_t (*MayRemoveChunk)(ChunkId chunk);                               // 1
    std::int32_t (*RemoveChunk)(ChunkId chunk);                                  // 2
    std::int32_t (*MayRemoveEntry)(ChunkId chunk, EntryId entry);                // 3
    std::int32_t (*RemoveEntry)(ChunkId chunk, EntryId entry);                   // 4
    void* Reserved;                                                              // 5: never called
    std::int32_t (*MayRenameChunk)(ChunkId chunk);                               // 6
    std::int32_t (*RenameChunk)(ChunkId chunk, const char* name);                // 7
    std::int32_t (*MayRenameEntry)(ChunkId chunk, EntryId entry);                // 8
    std::int32_t (*RenameEntry)(ChunkId chunk, EntryId entry, const char* name); // 9
    // A moveable global block holding the chunk's entry table, or null; the library frees it.
    HGLOBAL (*GetEntries)(ChunkId chunk); // 10
};

// Layout of the entry table block (little-endian):
//   offset 2: 16-bit byte offset of the first entry
//   offset 4: 16-bit entry count
//   offset 6: 16-bit entry size
// and in each entry: offset 4, the 32-bit entry key; offset 24, the NUL-terminated name.
namespace entry_table {
constexpr std::size_t kFirstEntryOffset = 2;
constexpr std::size_t kCountOffset = 4;
constexpr std::size_t kEntrySizeOffset = 6;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kKeyOffset = 4;
constexpr std::size_t kNameOffset = 24;
} // namespace entry_table
