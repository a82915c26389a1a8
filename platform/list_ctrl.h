// CListCtrl: the list view. The rows, columns and states live in the window's list model; this
// class is the MFC face of it.
#pragma once

#include "platform/controls.h"
#include "platform/image_list.h"
#include "platform/window.h"

#include <memory>

class CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Columns (report view).
    int InsertColumn(int column, const LVCOLUMN* info);
    int InsertColumn(int column, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    BOOL DeleteColumn(int column);
    BOOL GetColumn(int column, LVCOLUMN* info) const;
    BOOL SetColumn(int column, const LVCOLUMN* info);
    int GetColumnWidth(int column) const;
    BOOL SetColumnWidth(int column, int width);
    // Number of columns (a convenience the header control offers in MFC).
    int GetColumnCount() const;

    // Items.
    int InsertItem(const LVITEM* item);
    int InsertItem(int index, LPCTSTR text);
    int InsertItem(int index, LPCTSTR text, int image);
    int InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image,
                   LPARAM lParam);
    BOOL GetItem(LVITEM* item) const;
    BOOL SetItem(const LVITEM* item);
    BOOL SetItem(int index, int subItem, UINT mask, LPCTSTR text, int image, UINT state,
                 UINT stateMask, LPARAM lParam);
    BOOL SetItemText(int index, int subItem, LPCTSTR text);
    CString GetItemText(int index, int subItem) const;
    int GetItemText(int index, int subItem, LPTSTR buffer, int length) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    DWORD_PTR GetItemData(int index) const;
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    // Makes room for `count` items ahead of inserting them.
    BOOL SetItemCount(int count);
    int FindItem(LVFINDINFO* find, int start = -1) const;

    // States; changes send LVN_ITEMCHANGING/LVN_ITEMCHANGED per item, as the control does.
    UINT GetSelectedCount() const;
    int GetNextItem(int start, int flags) const;
    BOOL SetItemState(int index, UINT state, UINT mask);
    BOOL SetItemState(int index, LVITEM* item);
    UINT GetItemState(int index, UINT mask) const;

    // Geometry, in client coordinates, by the shared layout of the current view.
    int HitTest(LVHITTESTINFO* info) const;
    int HitTest(CPoint point, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) const;
    BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int index, int subItem, int area, CRect& rect) const;
    BOOL GetItemPosition(int index, LPPOINT point) const;
    BOOL GetOrigin(LPPOINT origin) const;
    BOOL GetViewRect(LPRECT rect) const;
    int GetStringWidth(LPCTSTR text) const;
    // Height of the column header in the report view (0 in the other views).
    int GetHeaderHeight() const;

    BOOL EnsureVisible(int index, BOOL partialOK);
    BOOL Scroll(CSize size);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    BOOL Arrange(UINT code);
    BOOL RedrawItems(int first, int last);
    BOOL Update(int index);

    // Sorts by `compare` on the items' data; the rows move, their states go with them.
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data);

    // Starts label editing of `index` (focus moves to the list; LVN_BEGINLABELEDIT may refuse);
    // the edit control or null.
    CEdit* EditLabel(int index);
    CEdit* GetEditControl() const;
    BOOL CancelEditLabel();

    // The item's icon and label as one image; `topLeft` receives the image's top-left corner
    // in client coordinates.
    std::unique_ptr<CImageList> CreateDragImage(int index, LPPOINT topLeft);

    CImageList* SetImageList(CImageList* imageList, int which);
    CImageList* GetImageList(int which) const;
    COLORREF GetBkColor() const;
    BOOL SetBkColor(COLORREF color);
    COLORREF GetTextColor() const;
    BOOL SetTextColor(COLORREF color);
    COLORREF GetTextBkColor() const;
    BOOL SetTextBkColor(COLORREF color);
};
