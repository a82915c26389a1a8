// CTreeCtrl: the tree view. The items live in the window's tree model; this class is the MFC face
// of it.
#pragma once

#include "platform/controls.h"
#include "platform/image_list.h"
#include "platform/window.h"

class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    HTREEITEM InsertItem(LPTVINSERTSTRUCT insert);
    HTREEITEM InsertItem(UINT mask, LPCTSTR text, int image, int selectedImage, UINT state,
                         UINT stateMask, LPARAM lParam, HTREEITEM parent, HTREEITEM insertAfter);
    HTREEITEM InsertItem(LPCTSTR text, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM insertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCTSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM insertAfter = TVI_LAST);
    // Deletes the item with everything below it (TVN_DELETEITEM for each).
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();

    UINT GetCount() const;
    UINT GetVisibleCount() const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetSelectedItem() const;
    HTREEITEM GetDropHilightItem() const;
    HTREEITEM GetFirstVisibleItem() const;
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const;
    HTREEITEM GetPrevVisibleItem(HTREEITEM item) const;
    BOOL ItemHasChildren(HTREEITEM item) const;

    BOOL GetItem(TVITEM* item) const;
    BOOL SetItem(TVITEM* item);
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCTSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    UINT GetItemState(HTREEITEM item, UINT stateMask) const;
    BOOL SetItemState(HTREEITEM item, UINT state, UINT stateMask);

    // Sends TVN_ITEMEXPANDING and TVN_ITEMEXPANDED when the state changes, as the control does.
    BOOL Expand(HTREEITEM item, UINT code);
    // TVGN_CARET: the selection (TVN_SELCHANGING/TVN_SELCHANGED); TVGN_DROPHILITE: the drop
    // target; TVGN_FIRSTVISIBLE: scrolls the item to the top.
    BOOL Select(HTREEITEM item, UINT code);
    BOOL SelectItem(HTREEITEM item);
    BOOL SelectDropTarget(HTREEITEM item);
    BOOL SelectSetFirstVisible(HTREEITEM item);
    BOOL EnsureVisible(HTREEITEM item);

    HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const;
    // The label (textOnly) or the whole line of a visible item; FALSE when it is not shown.
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;

    // Starts label editing (TVN_BEGINLABELEDIT may refuse); the edit control or null.
    CEdit* EditLabel(HTREEITEM item);
    CEdit* GetEditControl() const;
    // Ends a running label edit, committing unless `cancel`.
    BOOL EndEditLabelNow(BOOL cancel);

    CImageList* SetImageList(CImageList* imageList, int which);
    CImageList* GetImageList(int which) const;
    UINT GetIndent() const;
    void SetIndent(UINT indent);
    UINT GetItemHeight() const;
};
