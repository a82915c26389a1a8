// The entry points that run the browser dialog.
#include "dialog/explorer_dialog.h"
#include "interface/context.h"
#include "interface/explorer.h"
#include "platform/global_memory.h"

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

// The picked chunk keys as the host receives them: count, then the keys; null when the block
// cannot be had.
HGLOBAL MakeChunkListBlock(const CDWordArray& keys) {
    const int count = keys.GetSize();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 4 + 4 * std::size_t(count));
    if (!block)
        return nullptr;
    GlobalLockGuard lock(block);
    if (auto* bytes = static_cast<unsigned char*>(lock.data())) {
        StoreLittleEndian(bytes, static_cast<std::uint32_t>(count));
        for (int i = 0; i < count; ++i)
            StoreLittleEndian(bytes + 4 + 4 * i, keys[i]);
    }
    return block;
}

} // namespace

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
        chunkList = MakeChunkListBlock(dialog.m_multiKeys);
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
