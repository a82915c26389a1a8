#include "platform/list_ctrl.h"

#include "platform/list_view.h"
#include "platform/window_system.h"

#include <cstring>

namespace {
ListView* List(const CListCtrl* control) {
    return ListViewOf(control->m_hWnd);
}
} // namespace

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_LISTVIEW, "", style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const LVCOLUMN* info) {
    ListView* list = List(this);
    return list && info ? list->InsertColumn(column, *info) : -1;
}

int CListCtrl::InsertColumn(int column, LPCTSTR heading, int format, int width, int subItem) {
    LVCOLUMN info{};
    info.mask = LVCF_TEXT | LVCF_FMT;
    info.pszText = const_cast<LPTSTR>(heading);
    info.fmt = format;
    if (width != -1) {
        info.mask |= LVCF_WIDTH;
        info.cx = width;
    }
    if (subItem != -1) {
        info.mask |= LVCF_SUBITEM;
        info.iSubItem = subItem;
    }
    return InsertColumn(column, &info);
}

BOOL CListCtrl::DeleteColumn(int column) {
    ListView* list = List(this);
    return list && list->DeleteColumn(column);
}

BOOL CListCtrl::GetColumn(int column, LVCOLUMN* info) const {
    ListView* list = List(this);
    return list && info && list->GetColumn(column, *info);
}

BOOL CListCtrl::SetColumn(int column, const LVCOLUMN* info) {
    ListView* list = List(this);
    return list && info && list->SetColumn(column, *info);
}

int CListCtrl::GetColumnWidth(int column) const {
    ListView* list = List(this);
    return list ? list->ColumnWidth(column) : 0;
}

BOOL CListCtrl::SetColumnWidth(int column, int width) {
    ListView* list = List(this);
    return list && list->SetColumnWidth(column, width);
}

int CListCtrl::GetColumnCount() const {
    ListView* list = List(this);
    return list ? static_cast<int>(list->columns.size()) : 0;
}

int CListCtrl::InsertItem(const LVITEM* item) {
    ListView* list = List(this);
    return list && item ? list->InsertItem(*item) : -1;
}

int CListCtrl::InsertItem(int index, LPCTSTR text) {
    return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int index, LPCTSTR text, int image) {
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, index, text, 0, 0, image, 0);
}

int CListCtrl::InsertItem(UINT mask, int index, LPCTSTR text, UINT state, UINT stateMask, int image,
                          LPARAM lParam) {
    LVITEM item{};
    item.mask = mask;
    item.iItem = index;
    item.pszText = const_cast<LPTSTR>(text);
    item.state = state;
    item.stateMask = stateMask;
    item.iImage = image;
    item.lParam = lParam;
    return InsertItem(&item);
}

BOOL CListCtrl::GetItem(LVITEM* item) const {
    ListView* list = List(this);
    return list && item && list->GetItem(*item);
}

BOOL CListCtrl::SetItem(const LVITEM* item) {
    ListView* list = List(this);
    return list && item && list->SetItem(*item);
}

BOOL CListCtrl::SetItem(int index, int subItem, UINT mask, LPCTSTR text, int image, UINT state,
                        UINT stateMask, LPARAM lParam) {
    LVITEM item{};
    item.mask = mask;
    item.iItem = index;
    item.iSubItem = subItem;
    item.pszText = const_cast<LPTSTR>(text);
    item.iImage = image;
    item.state = state;
    item.stateMask = stateMask;
    item.lParam = lParam;
    return SetItem(&item);
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCTSTR text) {
    return SetItem(index, subItem, LVIF_TEXT, text, 0, 0, 0, 0);
}

CString CListCtrl::GetItemText(int index, int subItem) const {
    ListView* list = List(this);
    return list ? list->Text(index, subItem) : CString();
}

int CListCtrl::GetItemText(int index, int subItem, LPTSTR buffer, int length) const {
    const CString text = GetItemText(index, subItem);
    if (!buffer || length <= 0)
        return 0;
    const int count = std::min(length - 1, text.GetLength());
    std::memcpy(buffer, text.c_str(), static_cast<std::size_t>(count));
    buffer[count] = '\0';
    return count;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
    return SetItem(index, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(data));
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
    ListView* list = List(this);
    if (!list || !list->Valid(index))
        return 0;
    return static_cast<DWORD_PTR>(list->items[static_cast<std::size_t>(index)].lParam);
}

BOOL CListCtrl::DeleteItem(int index) {
    ListView* list = List(this);
    return list && list->DeleteItem(index);
}

BOOL CListCtrl::DeleteAllItems() {
    ListView* list = List(this);
    return list && list->DeleteAllItems();
}

int CListCtrl::GetItemCount() const {
    ListView* list = List(this);
    return list ? list->Count() : 0;
}

BOOL CListCtrl::SetItemCount(int count) {
    ListView* list = List(this);
    if (!list || count < 0)
        return FALSE;
    list->items.reserve(static_cast<std::size_t>(count));
    return TRUE;
}

int CListCtrl::FindItem(LVFINDINFO* find, int start) const {
    ListView* list = List(this);
    if (!list || !find)
        return -1;
    const int count = list->Count();
    for (int step = 1; step <= count; ++step) {
        int i = start + step;
        if (i >= count) {
            if (!(find->flags & LVFI_WRAP))
                return -1;
            i -= count;
        }
        const ListView::Item& row = list->items[static_cast<std::size_t>(i)];
        if ((find->flags & LVFI_PARAM) && row.lParam == find->lParam)
            return i;
        if ((find->flags & LVFI_STRING) && find->psz) {
            const std::size_t length = std::strlen(find->psz);
            const bool partial = find->flags & LVFI_PARTIAL;
            const CString& text = row.label;
            if (partial ? text.Left(static_cast<int>(length)).CompareNoCase(find->psz) == 0
                        : text.CompareNoCase(find->psz) == 0)
                return i;
        }
    }
    return -1;
}

UINT CListCtrl::GetSelectedCount() const {
    ListView* list = List(this);
    return list ? static_cast<UINT>(list->SelectedCount()) : 0;
}

int CListCtrl::GetNextItem(int start, int flags) const {
    ListView* list = List(this);
    return list ? list->NextItem(start, flags) : -1;
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
    ListView* list = List(this);
    return list && list->SetState(index, state, mask);
}

BOOL CListCtrl::SetItemState(int index, LVITEM* item) {
    return item ? SetItemState(index, item->state, item->stateMask) : FALSE;
}

UINT CListCtrl::GetItemState(int index, UINT mask) const {
    ListView* list = List(this);
    if (!list || !list->Valid(index))
        return 0;
    return list->items[static_cast<std::size_t>(index)].state & mask;
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const {
    ListView* list = List(this);
    if (!list || !info)
        return -1;
    info->iItem = list->HitTest(CPoint(info->pt), info->flags);
    info->iSubItem = 0;
    return info->iItem;
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
    LVHITTESTINFO info{};
    info.pt = point;
    const int item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO* info) const {
    ListView* list = List(this);
    if (!list || !info)
        return -1;
    int subItem = -1;
    info->iItem = list->HitTest(CPoint(info->pt), info->flags, &subItem);
    info->iSubItem = subItem;
    return info->iItem;
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const {
    ListView* list = List(this);
    CRect result;
    if (!list || !rect || !list->ItemRect(index, code, result))
        return FALSE;
    *rect = result;
    return TRUE;
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int area, CRect& rect) const {
    ListView* list = List(this);
    return list && list->SubItemRect(index, subItem, static_cast<UINT>(area), rect);
}

BOOL CListCtrl::GetItemPosition(int index, LPPOINT point) const {
    CRect bounds;
    if (!point || !GetItemRect(index, &bounds, LVIR_BOUNDS))
        return FALSE;
    *point = bounds.TopLeft();
    return TRUE;
}

BOOL CListCtrl::GetOrigin(LPPOINT origin) const {
    ListView* list = List(this);
    if (!list || !origin)
        return FALSE;
    *origin = list->Scroll();
    return TRUE;
}

BOOL CListCtrl::GetViewRect(LPRECT rect) const {
    ListView* list = List(this);
    if (!list || !rect)
        return FALSE;
    *rect = CRect(CPoint(), list->ContentSize());
    return TRUE;
}

int CListCtrl::GetStringWidth(LPCTSTR text) const {
    return text ? winsys::MetricsOf(m_hWnd).TextWidth(text) : 0;
}

int CListCtrl::GetHeaderHeight() const {
    ListView* list = List(this);
    return list ? list->HeaderHeight() : 0;
}

BOOL CListCtrl::EnsureVisible(int index, BOOL partialOK) {
    ListView* list = List(this);
    return list && list->EnsureVisible(index, partialOK);
}

BOOL CListCtrl::Scroll(CSize size) {
    ListView* list = List(this);
    return list && list->ScrollBy(size);
}

int CListCtrl::GetTopIndex() const {
    ListView* list = List(this);
    return list ? list->TopIndex() : 0;
}

int CListCtrl::GetCountPerPage() const {
    ListView* list = List(this);
    return list ? list->CountPerPage() : 0;
}

BOOL CListCtrl::Arrange(UINT) {
    // Items are always laid out in index order; arranging only repaints.
    const DWORD view = GetStyle() & LVS_TYPEMASK;
    if (view != LVS_ICON && view != LVS_SMALLICON)
        return FALSE;
    Invalidate();
    return TRUE;
}

BOOL CListCtrl::RedrawItems(int, int) {
    Invalidate();
    return TRUE;
}

BOOL CListCtrl::Update(int) {
    Invalidate();
    return TRUE;
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR data) {
    ListView* list = List(this);
    return list && list->SortItems(compare, static_cast<LPARAM>(data));
}

CEdit* CListCtrl::EditLabel(int index) {
    ListView* list = List(this);
    HWND edit = list ? list->EditLabel(index) : nullptr;
    return static_cast<CEdit*>(CWnd::FromHandle(edit));
}

CEdit* CListCtrl::GetEditControl() const {
    ListView* list = List(this);
    return list ? static_cast<CEdit*>(CWnd::FromHandle(list->EditWindow())) : nullptr;
}

BOOL CListCtrl::CancelEditLabel() {
    ListView* list = List(this);
    if (!list || !list->EditWindow())
        return FALSE;
    list->EndEditLabel(false);
    return TRUE;
}

std::unique_ptr<CImageList> CListCtrl::CreateDragImage(int index, LPPOINT topLeft) {
    ListView* list = List(this);
    if (!list)
        return nullptr;
    CPoint corner;
    auto image = list->CreateDragImage(index, corner);
    if (image && topLeft)
        *topLeft = corner;
    return image;
}

CImageList* CListCtrl::SetImageList(CImageList* imageList, int which) {
    ListView* list = List(this);
    return list ? list->SetImageList(imageList, which) : nullptr;
}

CImageList* CListCtrl::GetImageList(int which) const {
    ListView* list = List(this);
    return list ? list->GetImageList(which) : nullptr;
}

COLORREF CListCtrl::GetBkColor() const {
    ListView* list = List(this);
    if (!list)
        return CLR_NONE;
    return list->background == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : list->background;
}

BOOL CListCtrl::SetBkColor(COLORREF color) {
    ListView* list = List(this);
    if (!list)
        return FALSE;
    list->background = color;
    Invalidate();
    return TRUE;
}

COLORREF CListCtrl::GetTextColor() const {
    ListView* list = List(this);
    if (!list)
        return CLR_NONE;
    return list->textColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : list->textColor;
}

BOOL CListCtrl::SetTextColor(COLORREF color) {
    ListView* list = List(this);
    if (!list)
        return FALSE;
    list->textColor = color;
    Invalidate();
    return TRUE;
}

COLORREF CListCtrl::GetTextBkColor() const {
    ListView* list = List(this);
    if (!list)
        return CLR_NONE;
    return list->textBackground == CLR_DEFAULT ? GetBkColor() : list->textBackground;
}

BOOL CListCtrl::SetTextBkColor(COLORREF color) {
    ListView* list = List(this);
    if (!list)
        return FALSE;
    list->textBackground = color;
    Invalidate();
    return TRUE;
}
