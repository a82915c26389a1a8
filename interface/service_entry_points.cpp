// The entry points that work on the folder table without a dialog.
#include "interface/context.h"
#include "interface/explorer.h"
#include "interface/key_block.h"
#include "platform/user_notifier.h"
#include "store/folder_records.h"

int EXPL_Init(CDaoDatabase* database, EXPLORER_CALLBACK* callback, int readOnly) {
    if (g_context.database || g_context.callback) {
        MessageBeep(MB_OK);
        AfxMessageBox("Error sharing violaton DLL !!!  [ZOK]", MB_OK, 0);
        return 0;
    }
    g_context.readOnly = readOnly;
    if (!database || !callback)
        return 0;
    g_context.database = database;
    g_context.callback = callback;
    return 1;
}

int EXPL_CreateNewTable() {
    return CreateExplorerTable();
}

std::int32_t EXPL_CreateFolder(const char* name, std::int32_t owner, std::int32_t key) {
    return CreateFolderRecord(name, owner, key);
}

int EXPL_IsFolderExist(std::uint32_t key) {
    if (!DatabaseOpen())
        return 0;
    return FolderExists(key);
}

int EXPL_GetPath(std::uint32_t key, CString& path) {
    if (!DatabaseOpen())
        return 0;
    return GetFolderPath(key, path);
}

void* EXPL_GetDirIDs(std::uint32_t key, int& count) {
    if (!DatabaseOpen())
        return nullptr;
    CDWordArray keys;
    if (!GetSubFolders(key, keys, nullptr))
        return nullptr;
    count = keys.GetSize();
    if (count == 0)
        return nullptr;
    return MakeKeyBlock(keys, KeyCount::Omitted);
}
