#include "host/chunk_table.h"

#include "host/schema.h"

#include <algorithm>
#include <cstring>

namespace refhost {
namespace {

COleVariant LongVariant(std::uint32_t value) {
    return COleVariant(static_cast<std::int32_t>(value));
}

COleVariant Now() {
    return COleVariant(COleDateTime::GetCurrentTime());
}

// Opens CHUNKS on its key index with the chunk current; false when there is no such chunk.
bool OpenChunk(CDaoRecordset& records, ChunkId chunk) {
    records.Open(dbOpenTable, kChunksTable);
    records.SetCurrentIndex(kChunkKeyIndex);
    COleVariant key = LongVariant(chunk);
    return records.Seek("=", &key);
}

// Opens ENTRIES with the chunk's first entry current; false when it has none.
bool OpenEntries(CDaoRecordset& records, ChunkId chunk) {
    records.Open(dbOpenTable, kEntriesTable);
    records.SetCurrentIndex(kEntryChunkIndex);
    COleVariant key = LongVariant(chunk);
    return records.Seek("=", &key);
}

bool AtEntryOf(CDaoRecordset& records, ChunkId chunk) {
    return !records.IsEOF() &&
           static_cast<ChunkId>(VariantToLong(records.GetFieldValue(entry_col::ChunkSysId))) ==
               chunk;
}

// Opens ENTRIES with the given entry current; false when the chunk has no such entry.
bool OpenEntry(CDaoRecordset& records, ChunkId chunk, EntryId entry) {
    if (!OpenEntries(records, chunk))
        return false;
    for (; AtEntryOf(records, chunk); records.MoveNext()) {
        if (static_cast<EntryId>(VariantToLong(records.GetFieldValue(entry_col::EntryKey))) ==
            entry)
            return true;
    }
    return false;
}

// Runs `write` on the chunk's record inside Edit/Update and renews its ModifyDate.
template <typename Write> bool EditChunk(CDaoDatabase& database, ChunkId chunk, Write&& write) {
    CDaoRecordset records(&database);
    if (!OpenChunk(records, chunk))
        return false;
    records.Edit();
    write(records);
    records.SetFieldValue(chunk_col::ModifyDate, Now());
    records.Update();
    return true;
}

} // namespace

bool IsUsableName(const char* name) {
    return name && *name && std::strlen(name) <= static_cast<std::size_t>(kMaxNameLength);
}

std::int32_t VariantToLong(const COleVariant& value) {
    COleVariant converted;
    converted.ChangeType(VT_I4, &value);
    return converted.lVal;
}

ChunkId HighestChunkKey(CDaoDatabase& database) {
    CDaoRecordset records(&database);
    records.Open(dbOpenTable, kChunksTable, dbReadOnly);
    records.SetCurrentIndex(kChunkKeyIndex);
    if (records.IsEOF())
        return 0;
    records.MoveLast();
    return static_cast<ChunkId>(VariantToLong(records.GetFieldValue(chunk_col::SysId)));
}

ChunkId ChunkTable::Create(const char* name, FolderId folder) {
    if (!IsUsableName(name))
        return kNoChunk;
    const ChunkId key = HighestChunkKey(m_database) + 1;
    if (key > kMaxKey)
        return kNoChunk;

    CDaoRecordset records(&m_database);
    records.Open(dbOpenTable, kChunksTable);
    records.AddNew();
    records.SetFieldValue(chunk_col::SysId, LongVariant(key));
    records.SetFieldValue(chunk_col::UsrId, COleVariant(name));
    records.SetFieldValue(chunk_col::TextTitle, COleVariant(name));
    const COleVariant now = Now();
    records.SetFieldValue(chunk_col::CreateDate, now);
    records.SetFieldValue(chunk_col::ModifyDate, now);
    records.SetFieldValue(chunk_col::Ver, COleVariant(std::int32_t{1}));
    records.SetFieldValue(chunk_col::ChunkFlags, COleVariant(std::int32_t{0}));
    records.SetFieldValue(chunk_col::Attributes, COleVariant(std::int32_t{0}));
    records.SetFieldValue(chunk_col::DirId, LongVariant(folder));
    records.SetFieldValue(chunk_col::Revision, COleVariant(std::int16_t{1}));
    records.Update();
    return key;
}

bool ChunkTable::Exists(ChunkId chunk) {
    CDaoRecordset records(&m_database);
    return OpenChunk(records, chunk);
}

std::optional<std::string> ChunkTable::Name(ChunkId chunk) {
    CDaoRecordset records(&m_database);
    if (!OpenChunk(records, chunk))
        return std::nullopt;
    COleVariant name = records.GetFieldValue(chunk_col::UsrId);
    if (name.IsNull())
        return std::string();
    name.ChangeType(VT_BSTR);
    return name.strVal.str();
}

std::optional<FolderId> ChunkTable::Folder(ChunkId chunk) {
    CDaoRecordset records(&m_database);
    if (!OpenChunk(records, chunk))
        return std::nullopt;
    return static_cast<FolderId>(VariantToLong(records.GetFieldValue(chunk_col::DirId)));
}

bool ChunkTable::Rename(ChunkId chunk, const char* name) {
    if (!IsUsableName(name))
        return false;
    return EditChunk(m_database, chunk, [&](CDaoRecordset& records) {
        records.SetFieldValue(chunk_col::UsrId, COleVariant(name));
    });
}

bool ChunkTable::Remove(ChunkId chunk) {
    CDaoRecordset records(&m_database);
    if (!OpenChunk(records, chunk))
        return false;
    CDaoRecordset entries(&m_database);
    if (OpenEntries(entries, chunk)) {
        while (AtEntryOf(entries, chunk)) {
            entries.Delete();
            entries.MoveNext();
        }
    }
    records.Delete();
    return true;
}

bool ChunkTable::SetText(ChunkId chunk, const std::string& text) {
    return SetField(chunk, chunk_col::Text, COleVariant(CByteArray(text.begin(), text.end())));
}

bool ChunkTable::SetPreview(ChunkId chunk, const std::vector<BYTE>& dib) {
    return SetField(chunk, chunk_col::Preview,
                    dib.empty() ? COleVariant::Null() : COleVariant(dib));
}

bool ChunkTable::SetField(ChunkId chunk, int column, const COleVariant& value) {
    return EditChunk(m_database, chunk, [&](CDaoRecordset& records) {
        if (value.IsNull() || value.IsEmpty())
            records.SetFieldValueNull(column);
        else
            records.SetFieldValue(column, value);
    });
}

COleVariant ChunkTable::GetField(ChunkId chunk, int column) {
    CDaoRecordset records(&m_database);
    if (!OpenChunk(records, chunk))
        return COleVariant();
    return records.GetFieldValue(column);
}

EntryId ChunkTable::AddEntry(ChunkId chunk, const char* name) {
    if (!IsUsableName(name) || !Exists(chunk))
        return 0;
    EntryId highest = 0;
    for (const Entry& entry : Entries(chunk))
        highest = std::max(highest, entry.key);
    if (highest >= kMaxKey)
        return 0;

    CDaoRecordset records(&m_database);
    records.Open(dbOpenTable, kEntriesTable);
    records.AddNew();
    records.SetFieldValue(entry_col::ChunkSysId, LongVariant(chunk));
    records.SetFieldValue(entry_col::EntryKey, LongVariant(highest + 1));
    records.SetFieldValue(entry_col::Name, COleVariant(name));
    records.Update();
    return highest + 1;
}

std::vector<Entry> ChunkTable::Entries(ChunkId chunk) {
    std::vector<Entry> result;
    CDaoRecordset records(&m_database);
    if (!OpenEntries(records, chunk))
        return result;
    for (; AtEntryOf(records, chunk); records.MoveNext()) {
        COleVariant name = records.GetFieldValue(entry_col::Name);
        if (!name.IsNull())
            name.ChangeType(VT_BSTR);
        result.push_back(
            {static_cast<EntryId>(VariantToLong(records.GetFieldValue(entry_col::EntryKey))),
             name.IsNull() ? std::string() : name.strVal.str()});
    }
    std::sort(result.begin(), result.end(),
              [](const Entry& a, const Entry& b) { return a.key < b.key; });
    return result;
}

bool ChunkTable::RenameEntry(ChunkId chunk, EntryId entry, const char* name) {
    if (!IsUsableName(name))
        return false;
    CDaoRecordset records(&m_database);
    if (!OpenEntry(records, chunk, entry))
        return false;
    records.Edit();
    records.SetFieldValue(entry_col::Name, COleVariant(name));
    records.Update();
    return true;
}

bool ChunkTable::RemoveEntry(ChunkId chunk, EntryId entry) {
    CDaoRecordset records(&m_database);
    if (!OpenEntry(records, chunk, entry))
        return false;
    records.Delete();
    return true;
}

} // namespace refhost
