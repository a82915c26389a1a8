#include "store/folder_records.h"

#include "interface/context.h"
#include "platform/dao/dao.h"
#include "platform/ole_date_time.h"
#include "store/dao_record.h"
#include "store/shared_recordsets.h"

#include <unordered_set>
#include <vector>

namespace {

constexpr std::int32_t kNoKey = -1;
// Item tags carry 30 bits of a key, so keys handed out stay below 2^30.
constexpr std::int32_t kHighestKey = 0x3FFFFFFF;

// Opens `table` into a private, writable table-type recordset.
void OpenPrivate(CDaoRecordset& records, const char* table) {
    CDaoTableDef definition(g_context.database);
    definition.Open(table);
    records.Open(&definition, dbOpenTable, 0);
    definition.Close();
}

} // namespace

std::int32_t NextFolderKey() {
    if (!DatabaseOpen())
        return kNoKey;
    CDaoRecordset counter(g_context.database);
    try {
        OpenPrivate(counter, "COLLECTION");
        if (counter.IsEOF())
            return kNoKey;
        CDaoRecord record(&counter);
        std::int32_t highest = 0;
        if (!record.GetField(5, highest) || highest < 0 || highest >= kHighestKey)
            return kNoKey;
        const std::int32_t next = highest + 1;
        counter.Edit();
        if (!record.PutField(5, next)) {
            counter.CancelUpdate();
            return kNoKey;
        }
        counter.Update();
        counter.Close();
        return next;
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        CancelPendingEdit(counter);
        return kNoKey;
    }
}

std::int32_t CreateFolderRecord(const char* name, std::int32_t owner, std::int32_t key) {
    if (!DatabaseOpen())
        return 0;
    // -1 asks for a fresh key; when none can be drawn nothing is written and 0 reports the failure.
    if (key == kNoKey && (key = NextFolderKey()) == kNoKey)
        return 0;
    CDaoRecordset folders(g_context.database);
    try {
        OpenPrivate(folders, "EXPLORER");
        folders.AddNew();
        {
            CDaoRecord record(&folders);
            CString folderName(name ? name : "");
            CString placeholder(kPasswordPlaceholder);
            record.PutField(explorer_field::Id, key);
            record.PutField(explorer_field::Name, folderName);
            record.PutField(explorer_field::Date, CTime::GetCurrentTime());
            record.SetBlobNULL(explorer_field::Info);
            record.PutField(explorer_field::Owner, owner);
            record.PutField(explorer_field::PassR, placeholder);
            record.PutField(explorer_field::PassW, placeholder);
        }
        folders.Update();
        folders.Close();
        return key;
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        CancelPendingEdit(folders);
        return 0;
    }
}

int RenameFolderRecord(FolderId key, const char* name) {
    if (IsReadOnly())
        return 1;
    ExplorerTableScope scope(g_context.database);
    if (!SeekFolder(key))
        return 0;
    try {
        ExplorerRecordset.Edit();
        CDaoRecord record(&ExplorerRecordset);
        CString folderName(name ? name : "");
        if (!record.PutField(explorer_field::Name, folderName)) {
            ExplorerRecordset.CancelUpdate();
            return 0;
        }
        ExplorerRecordset.Update();
        return 1;
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        CancelPendingEdit(ExplorerRecordset);
        return 0;
    }
}

int DeleteFolderRecord(FolderId key) {
    if (IsReadOnly())
        return 1;
    ExplorerTableScope scope(g_context.database);
    if (!SeekFolder(key))
        return 0;
    try {
        ExplorerRecordset.Delete();
        return 1;
    } catch (const CException& error) {
        error.ReportError(MB_OK);
        return 0;
    }
}

int FolderExists(FolderId key) {
    ExplorerTableScope scope(g_context.database);
    return SeekFolder(key);
}

std::int32_t GetFolderOwner(FolderId key) {
    ExplorerTableScope scope(g_context.database);
    if (!SeekFolder(key))
        return 0;
    CDaoRecord record(&ExplorerRecordset);
    std::int32_t owner = 0;
    return record.GetField(explorer_field::Owner, owner) ? owner : 0;
}

int HasSubFolders(FolderId key) {
    ExplorerTableScope scope(g_context.database, "OWNER");
    return SeekFolder(key) ? 1 : 0;
}

int GetSubFolders(FolderId key, CDWordArray& keys, CStringArray* names) {
    ExplorerTableScope scope(g_context.database, "OWNER");
    keys.Clear(50);
    if (names)
        names->Clear(50);
    if (!SeekFolder(key))
        return 1;
    CDaoRecord record(&ExplorerRecordset);
    for (;;) {
        std::int32_t owner = 0;
        if (!record.GetField(explorer_field::Owner, owner))
            return 0;
        if (static_cast<FolderId>(owner) != key)
            return 1;
        std::int32_t id = 0;
        if (!record.GetField(explorer_field::Id, id))
            return 0;
        if (id != 0) { // the root is nobody's sub-folder
            keys.Add(static_cast<DWORD>(id));
            if (names) {
                // Read straight into its place in the list (the read's result is not tested).
                record.GetField(explorer_field::Name, names->ElementAt(names->Add(CString())));
            }
        }
        ExplorerRecordset.MoveNext();
        if (ExplorerRecordset.IsEOF())
            return 1;
    }
}

int GetFolderPath(FolderId key, CString& path) {
    path.Empty();
    if (key == 0)
        return 1;
    ExplorerTableScope scope(g_context.database);
    CDaoRecord record(&ExplorerRecordset);
    // An owner chain that comes back on itself is as broken as one that ends nowhere.
    std::unordered_set<FolderId> visited;
    for (;;) {
        if (!visited.insert(key).second || !SeekFolder(key))
            return 0;
        std::int32_t owner = 0;
        CString name;
        if (!record.GetField(explorer_field::Owner, owner) ||
            !record.GetField(explorer_field::Name, name))
            return 0;
        path = "\\" + name + path;
        if (owner == 0)
            return 1;
        key = static_cast<FolderId>(owner);
    }
}

int IsDescendant(FolderId folder, FolderId candidate) {
    // One scope for the whole walk keeps the table open across the many listings; a visited set
    // ends the walk on an owner cycle, and the explicit stack copes with very deep trees.
    ExplorerTableScope scope(g_context.database, "OWNER");
    std::unordered_set<FolderId> visited{folder};
    std::vector<FolderId> pending{folder};
    CDWordArray children;
    while (!pending.empty()) {
        const FolderId current = pending.back();
        pending.pop_back();
        if (!GetSubFolders(current, children, nullptr))
            continue; // an unreadable level hides only its own subtree
        for (DWORD child : children)
            if (child == candidate)
                return 1;
        for (int i = children.GetSize() - 1; i >= 0; --i)
            if (visited.insert(children[i]).second)
                pending.push_back(children[i]);
    }
    return 0;
}
