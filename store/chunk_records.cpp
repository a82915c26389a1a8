#include "store/chunk_records.h"

#include "interface/context.h"
#include "platform/dao/dao.h"
#include "store/dao_record.h"
#include "store/folder_records.h"
#include "store/item_tag.h"
#include "store/shared_recordsets.h"

std::int32_t GetChunkFolder(ChunkId key) {
    ChunksTableScope scope(g_context.database);
    if (!SeekChunk(key))
        return 0;
    CDaoRecord record(&ChunksRecordset);
    std::int32_t folder = 0;
    return record.GetField(chunk_field::DirId, folder) ? folder : 0;
}

int HasChunks(FolderId folder) {
    ChunksTableScope scope(g_context.database, "DirID_INDEX");
    return SeekChunk(folder) ? 1 : 0;
}

int GetFolderChunks(FolderId folder, CDWordArray& keys, CStringArray* names) {
    keys.Clear(50);
    if (names)
        names->Clear(50);
    ChunksTableScope scope(g_context.database, "DirID_INDEX");
    if (!SeekChunk(folder))
        return 1;
    CDaoRecord record(&ChunksRecordset);
    for (;;) {
        std::int32_t filedIn = 0;
        if (!record.GetField(chunk_field::DirId, filedIn))
            return 0;
        if (static_cast<FolderId>(filedIn) != folder)
            return 1;
        std::int32_t key = 0;
        if (!record.GetField(chunk_field::SysId, key))
            return 0;
        keys.Add(static_cast<DWORD>(key));
        if (names) {
            // Read straight into its place in the list (the read's result is not tested).
            record.GetField(chunk_field::UsrId, names->ElementAt(names->Add(CString())));
        }
        ChunksRecordset.MoveNext();
        if (ChunksRecordset.IsEOF())
            return 1;
    }
}

namespace {

// Writes `target` into `field` of the current record of `records`; false when the put fails.
bool RefileCurrent(CDaoRecordset& records, CDaoRecord& record, int field, FolderId target) {
    records.Edit();
    if (!record.PutField(field, static_cast<std::int32_t>(target))) {
        records.CancelUpdate();
        return false;
    }
    records.Update();
    return true;
}

} // namespace

int MoveItems(const CDWordArray& items, FolderId target) {
    if (IsReadOnly())
        return 1;
    ExplorerTableScope folderScope(g_context.database);
    ChunksTableScope chunkScope(g_context.database);
    CDaoRecord folderRecord(&ExplorerRecordset);
    CDaoRecord chunkRecord(&ChunksRecordset);
    try {
        for (ItemTag item : items) {
            const std::uint32_t key = TagKey(item);
            if (TagKind(item) == ItemKind::Folder) {
                if (!SeekFolder(key) ||
                    !RefileCurrent(ExplorerRecordset, folderRecord, explorer_field::Owner, target))
                    return 0;
            } else {
                if (!SeekChunk(key) ||
                    !RefileCurrent(ChunksRecordset, chunkRecord, chunk_field::DirId, target))
                    return 0;
            }
        }
        return 1;
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        CancelPendingEdit(ExplorerRecordset);
        CancelPendingEdit(ChunksRecordset);
        return 0;
    }
}
