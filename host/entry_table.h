// The block in which the host hands the library a chunk's entries (layout in
// interface/explorer_callback.h).
#pragma once

#include "host/chunk_table.h"
#include "host/schema.h"
#include "platform/global_memory.h"

#include <vector>

namespace refhost {

// Every entry row holds the key and a name buffer of this many bytes, terminator included; longer
// names are cut at a character boundary.
constexpr std::size_t kEntryNameCapacity = kMaxNameLength + 1;
constexpr std::size_t kEntryRowSize = entry_table::kNameOffset + kEntryNameCapacity;
// The count is a 16-bit field.
constexpr std::size_t kMaxTableEntries = 0xFFFF;

// A moveable, zeroed global block listing the entries in order, unlocked; null for no entries or
// when the memory cannot be had. Entries past kMaxTableEntries are left out.
HGLOBAL BuildEntryTable(const std::vector<Entry>& entries);

} // namespace refhost
