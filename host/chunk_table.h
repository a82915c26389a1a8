// The host's chunk operations on CHUNKS and ENTRIES, one record at a time, as the authoring
// application does them when its user or the library asks.
#pragma once

#include "interface/explorer_callback.h"
#include "platform/dao/dao.h"

#include <optional>
#include <string>
#include <vector>

namespace refhost {

// Keys the library can carry in its item tags.
constexpr std::uint32_t kMaxKey = 0x3FFFFFFFu;

struct Entry {
    EntryId key;
    std::string name;
};

// Each operation opens its own recordsets, so it sees what the library wrote in between. Missing
// keys and unusable names give the failure value; database faults throw CDaoException.
class ChunkTable {
public:
    explicit ChunkTable(CDaoDatabase& database) : m_database(database) {}

    // A new chunk under the next key (the highest so far plus one), dated now; kNoChunk when the
    // name is empty or too long or the keys are used up.
    ChunkId Create(const char* name, FolderId folder);
    bool Exists(ChunkId chunk);
    std::optional<std::string> Name(ChunkId chunk);
    std::optional<FolderId> Folder(ChunkId chunk);
    // Renaming and every Set... renew ModifyDate.
    bool Rename(ChunkId chunk, const char* name);
    // Removes the chunk with all its entries.
    bool Remove(ChunkId chunk);
    bool SetText(ChunkId chunk, const std::string& text);
    // A packed DIB; an empty picture stores Null.
    bool SetPreview(ChunkId chunk, const std::vector<BYTE>& dib);
    // Any field by position (see chunk_col), for the extra columns in particular; a null variant
    // stores Null.
    bool SetField(ChunkId chunk, int column, const COleVariant& value);
    COleVariant GetField(ChunkId chunk, int column);

    // A new entry under the chunk's next entry key (from 1); 0 when the chunk is missing or the
    // name unusable.
    EntryId AddEntry(ChunkId chunk, const char* name);
    // In key order.
    std::vector<Entry> Entries(ChunkId chunk);
    bool RenameEntry(ChunkId chunk, EntryId entry, const char* name);
    bool RemoveEntry(ChunkId chunk, EntryId entry);

private:
    CDaoDatabase& m_database;
};

bool IsUsableName(const char* name);
std::int32_t VariantToLong(const COleVariant& value);
// The highest ChunkSysID in CHUNKS, 0 when there is none.
ChunkId HighestChunkKey(CDaoDatabase& database);

} // namespace refhost
