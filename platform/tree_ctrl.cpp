// CTreeCtrl: the tree view control as the dialog code calls it.
#include "platform/tree_view.h"

#include "platform/controls.h"
#include "platform/image_list.h"
#include "platform/tree_ctrl.h"
#include "platform/window_system.h"

#include <algorithm>

namespace {
TreeView* Tree(const CTreeCtrl* control) {
    return TreeViewOf(control->m_hWnd);
}
} // namespace

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_TREEVIEW, "", style, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT insert) {
    TreeView* tree = Tree(this);
    return tree && insert ? tree->Insert(*insert) : nullptr;
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state,
                                UINT stateMask, LPARAM lParam, HTREEITEM parent,
                                HTREEITEM insertAfter) {
    TVINSERTSTRUCT insert{};
    insert.hParent = parent;
    insert.hInsertAfter = insertAfter;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPTSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = lParam;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, HTREEITEM parent, HTREEITEM insertAfter) {
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, insertAfter);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM insertAfter) {
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0,
                      0, parent, insertAfter);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) {
    TreeView* tree = Tree(this);
    return tree && tree->Delete(item);
}

BOOL CTreeCtrl::DeleteAllItems() {
    TreeView* tree = Tree(this);
    return tree && tree->DeleteAll();
}

UINT CTreeCtrl::GetCount() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(tree->Count()) : 0;
}

UINT CTreeCtrl::GetVisibleCount() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(std::max(0, tree->PageRows())) : 0;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
    TreeView* tree = Tree(this);
    return tree ? tree->Next(item, code) : nullptr;
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_CHILD);
}
HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_NEXT);
}
HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PREVIOUS);
}
HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PARENT);
}
HTREEITEM CTreeCtrl::GetRootItem() const {
    return GetNextItem(nullptr, TVGN_ROOT);
}
HTREEITEM CTreeCtrl::GetSelectedItem() const {
    return GetNextItem(nullptr, TVGN_CARET);
}
HTREEITEM CTreeCtrl::GetDropHilightItem() const {
    return GetNextItem(nullptr, TVGN_DROPHILITE);
}
HTREEITEM CTreeCtrl::GetFirstVisibleItem() const {
    return GetNextItem(nullptr, TVGN_FIRSTVISIBLE);
}
HTREEITEM CTreeCtrl::GetNextVisibleItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_NEXTVISIBLE);
}
HTREEITEM CTreeCtrl::GetPrevVisibleItem(HTREEITEM item) const {
    return GetNextItem(item, TVGN_PREVIOUSVISIBLE);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    TVITEM info{};
    info.mask = TVIF_CHILDREN;
    info.hItem = item;
    return GetItem(&info) && info.cChildren ? TRUE : FALSE;
}

BOOL CTreeCtrl::GetItem(TVITEM* item) const {
    TreeView* tree = Tree(this);
    return tree && item && tree->GetItem(*item);
}

BOOL CTreeCtrl::SetItem(TVITEM* item) {
    TreeView* tree = Tree(this);
    return tree && item && tree->SetItem(*item);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    TreeView* tree = Tree(this);
    const TreeView::Node* node = tree ? tree->Find(item) : nullptr;
    return node ? node->text : CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCTSTR text) {
    TVITEM info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = const_cast<LPTSTR>(text);
    return SetItem(&info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEM info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return GetItem(&info) ? static_cast<DWORD_PTR>(info.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) {
    TVITEM info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEM info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    if (!GetItem(&info))
        return FALSE;
    image = info.iImage;
    selectedImage = info.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) {
    TVITEM info{};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.iImage = image;
    info.iSelectedImage = selectedImage;
    return SetItem(&info);
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT stateMask) const {
    TVITEM info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.stateMask = stateMask;
    return GetItem(&info) ? info.state : 0;
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT stateMask) {
    TVITEM info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = stateMask;
    return SetItem(&info);
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) {
    TreeView* tree = Tree(this);
    return tree && tree->Expand(item, code, false);
}

BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) {
    TreeView* tree = Tree(this);
    return tree && tree->Select(item, code, TVC_UNKNOWN);
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item) {
    return Select(item, TVGN_CARET);
}
BOOL CTreeCtrl::SelectDropTarget(HTREEITEM item) {
    return Select(item, TVGN_DROPHILITE);
}
BOOL CTreeCtrl::SelectSetFirstVisible(HTREEITEM item) {
    return Select(item, TVGN_FIRSTVISIBLE);
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) {
    TreeView* tree = Tree(this);
    return tree && tree->EnsureVisible(item);
}

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const {
    TreeView* tree = Tree(this);
    UINT result = TVHT_NOWHERE;
    HTREEITEM item = tree ? tree->HitTest(point, result) : nullptr;
    if (flags)
        *flags = result;
    return item;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* info) const {
    if (!info)
        return nullptr;
    info->hItem = HitTest(CPoint(info->pt), &info->flags);
    return info->hItem;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const {
    TreeView* tree = Tree(this);
    CRect result;
    if (!tree || !rect || !tree->ItemRect(item, result, textOnly))
        return FALSE;
    *rect = result;
    return TRUE;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM item) {
    TreeView* tree = Tree(this);
    HWND edit = tree ? tree->EditLabel(item) : nullptr;
    return static_cast<CEdit*>(CWnd::FromHandle(edit));
}

CEdit* CTreeCtrl::GetEditControl() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<CEdit*>(CWnd::FromHandle(tree->EditWindow())) : nullptr;
}

BOOL CTreeCtrl::EndEditLabelNow(BOOL cancel) {
    TreeView* tree = Tree(this);
    if (!tree || !tree->EditWindow())
        return FALSE;
    tree->EndEditLabel(!cancel);
    return TRUE;
}

CImageList* CTreeCtrl::SetImageList(CImageList* imageList, int which) {
    TreeView* tree = Tree(this);
    return tree ? tree->SetImageList(imageList, which) : nullptr;
}

CImageList* CTreeCtrl::GetImageList(int which) const {
    TreeView* tree = Tree(this);
    return tree ? tree->GetImageList(which) : nullptr;
}

UINT CTreeCtrl::GetIndent() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(tree->Indent()) : 0;
}

void CTreeCtrl::SetIndent(UINT indent) {
    if (TreeView* tree = Tree(this))
        tree->SetIndent(static_cast<int>(indent));
}

UINT CTreeCtrl::GetItemHeight() const {
    TreeView* tree = Tree(this);
    return tree ? static_cast<UINT>(tree->ItemHeight()) : 0;
}
