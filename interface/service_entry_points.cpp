// The entry points that work on the folder table without a dialog.
#include "interface/context.h"
#include "interface/explorer.h"
#include "platform/global_memory.h"
#include "platform/user_notifier.h"
#include "store/folder_records.h"

namespace {

bool DatabaseOpen() {
    return g_context.database && g_context.database->IsOpen();
}

void StoreLittleEndian(unsigned char* out, std::uint32_t value) {
    out[0] = static_cast<unsigned char>(value);
    out[1] = static_cast<unsigned char>(value >> 8);
    out[2] = static_cast<unsigned char>(value >> 16);
    out[3] = static_cast<unsigned char>(value >> 24);
}

} // namespace

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
    GlobalBlockOwner block(
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4 * static_cast<std::size_t>(count)));
    if (!block.get())
        return nullptr;
    {
        GlobalLockGuard lock(block.get());
        auto* bytes = static_cast<unsigned char*>(lock.data());
        if (!bytes)
            return nullptr;
        for (int i = 0; i < count; ++i)
            StoreLittleEndian(bytes + 4 * i, keys[i]);
    }
    return block.release();
}
