// The entry points that run the browser dialog.
#include "dialog/explorer_dialog.h"
#include "interface/context.h"
#include "interface/explorer.h"
#include "interface/key_block.h"

int EXPL_GetFolder(std::uint32_t& item, std::uint32_t& folder, const char* title) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!DatabaseOpen() || IsReadOnly())
        return 0;
    ExplorerDialog dialog(nullptr);
    dialog.m_strTitle = title;
    dialog.m_folderKey = folder;
    dialog.m_mode = ExplorerMode::Folder;
    if (dialog.DoModal() != IDOK)
        return 0;
    item = dialog.m_resultKey;
    folder = dialog.m_folderKey;
    return 1;
}

int EXPL_GetTarget(std::uint32_t& item, std::uint32_t& entry, std::uint32_t& folder,
                   const char* title) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!DatabaseOpen())
        return 0;
    ExplorerDialog dialog(nullptr);
    dialog.m_strTitle = title;
    dialog.m_folderKey = folder;
    dialog.m_mode = ExplorerMode::Target;
    if (dialog.DoModal() != IDOK)
        return 0;
    item = dialog.m_resultKey;
    entry = dialog.m_resultEntry;
    folder = dialog.m_folderKey;
    return 1;
}

int EXPL_GetChunk(std::uint32_t& chunk, int& readOnlyCheck, std::uint32_t& folder, void*& chunkList,
                  const char* title) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!DatabaseOpen())
        return 0;
    ExplorerDialog dialog(nullptr);
    dialog.m_strTitle = title;
    dialog.m_folderKey = folder;
    dialog.m_mode = ExplorerMode::Chunk;
    dialog.m_bReadOnly = readOnlyCheck;
    if (dialog.DoModal() != IDOK)
        return 0;
    chunk = dialog.m_resultKey;
    folder = dialog.m_folderKey;
    readOnlyCheck = dialog.m_bReadOnly;
    chunkList = nullptr;
    if (dialog.m_multiKeys.GetSize() >= 1)
        chunkList = MakeKeyBlock(dialog.m_multiKeys, KeyCount::First);
    return 1;
}

int EXPL_ChunkSaveAs(std::uint32_t& chunk, CString& name, std::uint32_t& folder,
                     const char* title) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    // Only the flag is tested here; a library never given a database has nothing to show.
    if (IsReadOnly() || !g_context.database)
        return 0;
    ExplorerDialog dialog(nullptr);
    dialog.m_strTitle = title;
    dialog.m_folderKey = folder;
    dialog.m_mode = ExplorerMode::SaveAs;
    dialog.m_strName = name;
    dialog.m_resultKey = chunk;
    if (dialog.DoModal() != IDOK)
        return 0;
    chunk = dialog.m_resultKey;
    folder = dialog.m_folderKey;
    name = dialog.m_strName;
    return 1;
}
