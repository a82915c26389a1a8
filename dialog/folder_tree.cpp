// The folder tree: read lazily, one level per first expansion.
#include "dialog/explorer_dialog.h"
#include "dialog/redraw_pause.h"

#include "interface/context.h"
#include "resources/artwork.h"
#include "resources/resource_ids.h"
#include "store/chunk_records.h"
#include "store/folder_records.h"

#include <unordered_set>
#include <vector>

namespace {

constexpr UINT kItemMask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;

const CString& NameAt(const CStringArray& names, int index) {
    static const CString none;
    return index < names.GetSize() ? names[index] : none;
}

void InsertPlaceholder(CTreeCtrl& tree, HTREEITEM parent) {
    tree.InsertItem(TVIF_TEXT | TVIF_PARAM, kTreePlaceholder, 0, 0, 0, 0, kPlaceholderTag, parent,
                    TVI_LAST);
}

bool IsPlaceholder(CTreeCtrl& tree, HTREEITEM item) {
    return tree.GetItemData(item) == kPlaceholderTag &&
           tree.GetItemText(item).Compare(kTreePlaceholder) == 0;
}

} // namespace

int ExplorerDialog::FillRoot() {
    CString rootName;
    rootName.LoadString(IDS_ROOT_NAME);
    m_hRoot = m_tree.InsertItem(kItemMask, rootName, kImageFolder, kImageOpenFolder, 0, 0,
                                MakeTag(0, ItemKind::Folder), TVI_ROOT, TVI_LAST);
    if (HasSubFolders(0) || (m_mode == ExplorerMode::Target && HasChunks(0))) {
        InsertPlaceholder(m_tree, m_hRoot);
        // The first expansion reads the root's children at once.
        m_tree.Expand(m_hRoot, TVE_EXPAND);
    }
    return 1;
}

void ExplorerDialog::OnItemExpandedTree(NMHDR* notify, LRESULT* result) {
    *result = 0;
    const auto* info = reinterpret_cast<NMTREEVIEW*>(notify);
    if ((info->action & TVE_TOGGLE) != TVE_EXPAND)
        return;
    const HTREEITEM item = info->itemNew.hItem;
    const HTREEITEM child = m_tree.GetChildItem(item);
    // Any other first child means the item was filled before.
    if (!child || !IsPlaceholder(m_tree, child))
        return;
    m_tree.DeleteItem(child);
    ExpandFolder(item, TagKey(static_cast<ItemTag>(m_tree.GetItemData(item))));
}

void ExplorerDialog::ExpandFolder(HTREEITEM item, FolderId folderKey) {
    CDWordArray folderKeys;
    CStringArray folderNames;
    CDWordArray chunkKeys;
    CStringArray chunkNames;
    // A failed read inserts what it delivered; the placeholder is gone, so it is not read again.
    GetSubFolders(folderKey, folderKeys, &folderNames);
    if (m_mode == ExplorerMode::Target)
        GetFolderChunks(folderKey, chunkKeys, &chunkNames);
    const RedrawPause pause(m_tree);
    InsertTreeChildren(item, folderKeys, folderNames, chunkKeys, chunkNames);
}

int ExplorerDialog::InsertTreeChildren(HTREEITEM parent, const CDWordArray& folderKeys,
                                       const CStringArray& folderNames,
                                       const CDWordArray& chunkKeys,
                                       const CStringArray& chunkNames) {
    for (int i = 0; i < folderKeys.GetSize(); ++i) {
        const FolderId key = folderKeys[i];
        const HTREEITEM item =
            m_tree.InsertItem(kItemMask, NameAt(folderNames, i), kImageFolder, kImageOpenFolder, 0,
                              0, MakeTag(key, ItemKind::Folder), parent, TVI_LAST);
        if (item && (HasSubFolders(key) || (m_mode == ExplorerMode::Target && HasChunks(key))))
            InsertPlaceholder(m_tree, item);
    }
    for (int i = 0; i < chunkKeys.GetSize(); ++i)
        m_tree.InsertItem(kItemMask, NameAt(chunkNames, i), kImageChunk, kImageChunk, 0, 0,
                          MakeTag(chunkKeys[i], ItemKind::Chunk), parent, TVI_LAST);
    return 1;
}

HTREEITEM ExplorerDialog::FindTreeItem(HTREEITEM start, ItemTag tag, BOOL recurse) {
    if (!m_hRoot)
        return nullptr;
    HTREEITEM item = start == TVI_ROOT ? m_hRoot : m_tree.GetChildItem(start);
    for (; item; item = m_tree.GetNextSiblingItem(item)) {
        const auto itemTag = static_cast<ItemTag>(m_tree.GetItemData(item));
        if (itemTag == tag)
            return item;
        // Chunk items never have children worth walking into.
        if (recurse && TagKind(itemTag) == ItemKind::Folder) {
            if (const HTREEITEM hit = FindTreeItem(item, tag, TRUE))
                return hit;
        }
    }
    return nullptr;
}

int ExplorerDialog::SelectTreeItem(std::uint32_t key, ItemKind kind, BOOL expand) {
    if (key == 0 && kind == ItemKind::Folder) {
        m_tree.Select(m_hRoot, TVGN_CARET);
        return 1;
    }

    // The folders between the root and the item, top down. An owner chain that comes back on
    // itself never reaches the root: no such folder can be in the tree.
    std::vector<FolderId> chain;
    std::unordered_set<FolderId> seen;
    auto folder =
        static_cast<FolderId>(kind == ItemKind::Chunk ? GetChunkFolder(key) : GetFolderOwner(key));
    while (folder != 0) {
        if (!seen.insert(folder).second)
            return 0;
        chain.insert(chain.begin(), folder);
        folder = static_cast<FolderId>(GetFolderOwner(folder));
    }

    HTREEITEM parent = m_hRoot;
    for (const FolderId link : chain) {
        const HTREEITEM item = FindTreeItem(parent, MakeTag(link, ItemKind::Folder), FALSE);
        if (!item)
            return 0;
        m_tree.Expand(item, TVE_EXPAND);
        parent = item;
    }

    const HTREEITEM item = FindTreeItem(parent, MakeTag(key, kind), FALSE);
    m_tree.Select(item, TVGN_CARET);
    if (item && expand && m_tree.ItemHasChildren(item))
        m_tree.Expand(item, TVE_EXPAND);
    return 1;
}

int ExplorerDialog::OpenItem(ItemTag tag, BOOL expand) {
    return SelectTreeItem(TagKey(tag), TagKind(tag), expand);
}

void ExplorerDialog::OnSelChangedTree(NMHDR* notify, LRESULT* result) {
    *result = 0;
    const auto* info = reinterpret_cast<NMTREEVIEW*>(notify);
    const HTREEITEM item = info->itemNew.hItem;
    // A cleared selection leaves no current item and an empty list. The columns stay as the
    // user sized them: the list was last filled for m_listTag, and the next fill compares with it.
    const ItemTag tag = item ? static_cast<ItemTag>(m_tree.GetItemData(item)) : NoItem;
    if (tag == m_curTag)
        return;
    m_curTag = tag;
    if (item)
        FillList(tag);
    else
        m_list.DeleteAllItems();

    CString caption;
    if (item) {
        CString kindWord;
        kindWord.LoadString(TagKind(tag) == ItemKind::Chunk ? IDS_KIND_CHUNK : IDS_KIND_FOLDER);
        caption = kindWord + " \"" + m_tree.GetItemText(item) + "\"";
    }
    SetDlgItemText(IDC_CAPTION, caption);
}

void ExplorerDialog::OnDblClkTree(NMHDR*, LRESULT* result) {
    *result = 0;
    // The first click of the double click made the item current.
    if (m_mode == ExplorerMode::Target && TagKind(m_curTag) == ItemKind::Chunk)
        EndWithResult(TagKey(m_curTag), kNoKey);
}
