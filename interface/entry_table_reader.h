// Reads the entry table a host hands out for a chunk, strictly within the block.
#pragma once

#include "interface/explorer_callback.h"
#include "platform/cstring.h"

#include <vector>

struct ChunkEntry {
    EntryId key;
    CString name;
};

// Reads the entries of `table` and frees the block. Entries whose key lies outside the block are
// dropped; a name runs to its terminating zero or to the end of the block, whichever comes first.
std::vector<ChunkEntry> ReadEntryTable(HGLOBAL table);
