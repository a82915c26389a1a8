#include "platform/list_view.h"

#include "platform/app.h"
#include "platform/image_list.h"
#include "platform/label_look.h"
#include "platform/list_ctrl.h"
#include "platform/pixel_surface.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <utility>

namespace {

constexpr int kImageMargin = 2;
constexpr int kLabelPadding = 2;
constexpr int kHeaderTextMargin = 6;
// The timer that scrolls the list while a marquee's pointer is beyond its edge, and how often.
constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr UINT kAutoScrollInterval = 50;
// How far from a header divider the pointer may be to take hold of it, on either side.
constexpr long kDividerGrip = 4;

int Width(HWND window, const CString& text) {
    return winsys::MetricsOf(window).TextWidth(text.str());
}

void CopyText(const CString& text, LPTSTR buffer, int size) {
    if (!buffer || size <= 0)
        return;
    const int count = std::min(size - 1, text.GetLength());
    std::memcpy(buffer, text.c_str(), static_cast<std::size_t>(count));
    buffer[count] = '\0';
}

} // namespace

std::unique_ptr<WindowClass> MakeListViewClass() {
    return std::make_unique<ListView>();
}

ListView* ListViewOf(HWND window) {
    WindowData* data = winsys::Live(window);
    return data && data->cls ? data->cls->AsListView() : nullptr;
}

void ListView::Destroyed(HWND) {
    m_editWindow = nullptr;
    items.clear();
}

DWORD ListView::View() const {
    WindowData* data = winsys::Live(window);
    return data ? data->style & LVS_TYPEMASK : LVS_ICON;
}

void ListView::Changed(ControlChange::Kind kind, int index) {
    // The list's state lives in its window's record, so the record is there as long as the list
    // is; a destroyed window has no native control left.
    if (window && window->native)
        window->native->ModelChanged({kind, nullptr, index});
    if (m_redraw) {
        UpdateScrollBars();
        winsys::Invalidate(window, nullptr);
    }
}

void ListView::UpdateScrollBars() {
    WindowData* data = window;
    if (!data || m_updatingBars || !data->parent)
        return;
    m_updatingBars = true;
    const DWORD bars = data->style & LVS_NOSCROLL
                           ? 0
                           : winsys::NeededScrollBars(window, [this] { return ContentSize(); });
    winsys::ShowScrollBars(window, bars);
    ClampScroll();

    const CRect client = winsys::ClientRect(window);
    const CSize content = ContentSize();
    const DWORD view = View();
    ScrollBarState horizontal{0, static_cast<int>(content.cx) - 1, client.Width(),
                              static_cast<int>(m_scroll.x)};
    ScrollBarState vertical{0, static_cast<int>(content.cy) - 1, client.Height(),
                            static_cast<int>(m_scroll.y)};
    if (view == LVS_REPORT) {
        // Rows, not pixels.
        vertical = {0, Count() - 1, CountPerPage(), TopIndex()};
    } else if (view == LVS_LIST) {
        // Columns of items.
        const long cell = std::max(1, CellWidth());
        horizontal = {0, static_cast<int>((content.cx + cell - 1) / cell) - 1,
                      static_cast<int>(std::max(1L, client.Width() / cell)),
                      static_cast<int>(m_scroll.x / cell)};
    }
    winsys::SetScrollState(window, SB_HORZ, horizontal);
    winsys::SetScrollState(window, SB_VERT, vertical);
    m_updatingBars = false;
}

LRESULT ListView::NotifyItem(UINT code, int index, UINT newState, UINT oldState, UINT changed,
                             CPoint point, int subItem) {
    NMLISTVIEW info{};
    info.iItem = index;
    info.iSubItem = subItem;
    info.uNewState = newState;
    info.uOldState = oldState;
    info.uChanged = changed;
    info.ptAction = point;
    info.lParam = Valid(index) ? items[static_cast<std::size_t>(index)].lParam : 0;
    return winsys::Notify(window, info.hdr, code);
}

LRESULT ListView::NotifyActivate(UINT code, int index, CPoint point) {
    NMITEMACTIVATE info{};
    info.iItem = index;
    info.ptAction = point;
    info.lParam = Valid(index) ? items[static_cast<std::size_t>(index)].lParam : 0;
    if (winsys::KeyDown(VK_SHIFT))
        info.uKeyFlags |= 0x0004; // LVKF_SHIFT
    if (winsys::KeyDown(VK_CONTROL))
        info.uKeyFlags |= 0x0002; // LVKF_CONTROL
    return winsys::Notify(window, info.hdr, code);
}

// ---- Rows and columns ----

int ListView::InsertItem(const LVITEM& item) {
    WindowData* data = window;
    Item row;
    if ((item.mask & LVIF_TEXT) && item.pszText)
        row.label = item.pszText;
    if (item.mask & LVIF_IMAGE)
        row.image = item.iImage;
    if (item.mask & LVIF_PARAM)
        row.lParam = item.lParam;
    if (item.mask & LVIF_INDENT)
        row.indent = item.iIndent;
    int index = std::clamp(item.iItem, 0, Count());
    if (data && (data->style & (LVS_SORTASCENDING | LVS_SORTDESCENDING))) {
        const bool descending = data->style & LVS_SORTDESCENDING;
        index = 0;
        while (index < Count()) {
            const int order = items[static_cast<std::size_t>(index)].label.Compare(row.label);
            if (descending ? order < 0 : order > 0)
                break;
            ++index;
        }
    }
    items.insert(items.begin() + index, std::move(row));
    m_widestText = -1;
    for (int* tracked :
         {&m_anchor, &m_pressItem, &m_selectOnlyOnRelease, &m_armedEdit, &m_editItem})
        if (*tracked >= index)
            ++*tracked;
    Changed(ControlChange::ItemInserted, index);
    NotifyItem(LVN_INSERTITEM, index, 0, 0, 0);
    if ((item.mask & LVIF_STATE) && item.stateMask && Valid(index))
        SetState(index, item.state, item.stateMask);
    return index;
}

bool ListView::SetItem(const LVITEM& item) {
    if (!Valid(item.iItem) || item.iSubItem < 0)
        return false;
    Item& row = items[static_cast<std::size_t>(item.iItem)];
    if (item.iSubItem > 0) {
        // Sub-items carry text only and change silently.
        if (!(item.mask & LVIF_TEXT))
            return true;
        row.subItems.Set(item.iSubItem, item.pszText ? item.pszText : "");
        Changed(ControlChange::ItemChanged, item.iItem);
        return true;
    }
    UINT changed = 0;
    const CString text = item.pszText ? item.pszText : "";
    if ((item.mask & LVIF_TEXT) && row.label != text)
        changed |= LVIF_TEXT;
    if ((item.mask & LVIF_IMAGE) && row.image != item.iImage)
        changed |= LVIF_IMAGE;
    if ((item.mask & LVIF_PARAM) && row.lParam != item.lParam)
        changed |= LVIF_PARAM;
    if (changed) {
        if (NotifyItem(LVN_ITEMCHANGING, item.iItem, row.state, row.state, changed))
            return false;
        if (!Valid(item.iItem))
            return false;
        Item& target = items[static_cast<std::size_t>(item.iItem)];
        if (changed & LVIF_TEXT) {
            target.label = text;
            m_widestText = -1;
        }
        if (changed & LVIF_IMAGE)
            target.image = item.iImage;
        if (changed & LVIF_PARAM)
            target.lParam = item.lParam;
        Changed(ControlChange::ItemChanged, item.iItem);
        NotifyItem(LVN_ITEMCHANGED, item.iItem, target.state, target.state, changed);
    }
    if ((item.mask & LVIF_STATE) && item.stateMask && Valid(item.iItem))
        SetState(item.iItem, item.state, item.stateMask);
    return true;
}

bool ListView::GetItem(LVITEM& item) const {
    if (!Valid(item.iItem))
        return false;
    const Item& row = items[static_cast<std::size_t>(item.iItem)];
    if (item.mask & LVIF_TEXT)
        CopyText(Text(item.iItem, item.iSubItem), item.pszText, item.cchTextMax);
    if (item.mask & LVIF_IMAGE)
        item.iImage = row.image;
    if (item.mask & LVIF_PARAM)
        item.lParam = row.lParam;
    if (item.mask & LVIF_STATE)
        item.state = row.state & item.stateMask;
    if (item.mask & LVIF_INDENT)
        item.iIndent = row.indent;
    return true;
}

CString ListView::Text(int index, int subItem) const {
    if (!Valid(index) || subItem < 0)
        return CString();
    const Item& row = items[static_cast<std::size_t>(index)];
    return subItem == 0 ? row.label : CString(row.subItems.Get(subItem));
}

bool ListView::DeleteItem(int index) {
    if (!Valid(index))
        return false;
    if (m_editItem == index)
        EndEditLabel(false);
    NotifyItem(LVN_DELETEITEM, index, 0, 0, 0);
    if (!Valid(index))
        return false;
    items.erase(items.begin() + index);
    m_widestText = -1;
    for (int* tracked :
         {&m_anchor, &m_pressItem, &m_selectOnlyOnRelease, &m_armedEdit, &m_editItem}) {
        if (*tracked == index)
            *tracked = -1;
        else if (*tracked > index)
            --*tracked;
    }
    if (m_pressItem < 0)
        m_dragCandidate = false;
    ClampScroll();
    Changed(ControlChange::ItemDeleted, index);
    return true;
}

bool ListView::DeleteAllItems() {
    if (m_editWindow)
        EndEditLabel(false);
    // A nonzero answer to LVN_DELETEALLITEMS spares the per-item notifications.
    if (!NotifyItem(LVN_DELETEALLITEMS, -1, 0, 0, 0))
        for (int i = 0; i < Count(); ++i)
            NotifyItem(LVN_DELETEITEM, i, 0, 0, 0);
    items.clear();
    m_widestText = -1;
    m_anchor = m_pressItem = m_selectOnlyOnRelease = m_armedEdit = -1;
    m_dragCandidate = false;
    m_scroll = CPoint();
    winsys::CancelDeferred(window);
    // An empty list needs no bars, repainted or not: columns sized right after this see the
    // whole width.
    if (!m_redraw)
        UpdateScrollBars();
    Changed(ControlChange::AllItemsDeleted);
    return true;
}

int ListView::InsertColumn(int index, const LVCOLUMN& column) {
    if (index < 0)
        return -1;
    index = std::min(index, static_cast<int>(columns.size()));
    Column entry;
    if ((column.mask & LVCF_TEXT) && column.pszText)
        entry.text = column.pszText;
    entry.width = (column.mask & LVCF_WIDTH) ? std::max(0, column.cx) : kDefaultColumnWidth;
    if (column.mask & LVCF_FMT)
        entry.format = column.fmt;
    entry.subItem = (column.mask & LVCF_SUBITEM) ? column.iSubItem : index;
    columns.insert(columns.begin() + index, entry);
    // Sub-item texts follow their column.
    if (index > 0)
        for (Item& row : items)
            row.subItems.InsertEmpty(index);
    Changed(ControlChange::ItemChanged);
    return index;
}

bool ListView::DeleteColumn(int index) {
    if (index < 0 || index >= static_cast<int>(columns.size()))
        return false;
    columns.erase(columns.begin() + index);
    if (index > 0)
        for (Item& row : items)
            row.subItems.Erase(index);
    ClampScroll();
    Changed(ControlChange::ItemChanged);
    return true;
}

bool ListView::GetColumn(int index, LVCOLUMN& column) const {
    if (index < 0 || index >= static_cast<int>(columns.size()))
        return false;
    const Column& entry = columns[static_cast<std::size_t>(index)];
    if (column.mask & LVCF_WIDTH)
        column.cx = entry.width;
    if (column.mask & LVCF_FMT)
        column.fmt = entry.format;
    if (column.mask & LVCF_SUBITEM)
        column.iSubItem = entry.subItem;
    if (column.mask & LVCF_TEXT)
        CopyText(entry.text, column.pszText, column.cchTextMax);
    return true;
}

bool ListView::SetColumn(int index, const LVCOLUMN& column) {
    if (index < 0 || index >= static_cast<int>(columns.size()))
        return false;
    Column& entry = columns[static_cast<std::size_t>(index)];
    if (column.mask & LVCF_WIDTH)
        entry.width = std::max(0, column.cx);
    if (column.mask & LVCF_FMT)
        entry.format = column.fmt;
    if ((column.mask & LVCF_TEXT) && column.pszText)
        entry.text = column.pszText;
    if (column.mask & LVCF_SUBITEM)
        entry.subItem = column.iSubItem;
    Changed(ControlChange::ItemChanged);
    return true;
}

int ListView::ColumnWidth(int index) const {
    if (View() == LVS_LIST)
        return CellWidth();
    if (index < 0 || index >= static_cast<int>(columns.size()))
        return 0;
    return columns[static_cast<std::size_t>(index)].width;
}

bool ListView::SetColumnWidth(int index, int width) {
    if (View() == LVS_LIST) {
        m_listColumnWidth = std::max(0, width);
        Changed(ControlChange::ItemChanged);
        return true;
    }
    if (index < 0 || index >= static_cast<int>(columns.size()))
        return false;
    if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
        // The first column's texts are labels behind the small icon; the others are cells.
        int room = 2 * kHeaderTextMargin;
        if (index == 0) {
            const int imageWidth = m_lists[LVSIL_SMALL] ? m_lists[LVSIL_SMALL]->cx : 0;
            room = kImageMargin + imageWidth + (imageWidth ? kImageMargin : 0) + 2 * kLabelPadding;
        }
        int widest = 0;
        for (int i = 0; i < Count(); ++i)
            widest = std::max(widest, Width(window, Text(i, index)) + room);
        if (width == LVSCW_AUTOSIZE_USEHEADER)
            widest = std::max(widest, Width(window, columns[static_cast<std::size_t>(index)].text) +
                                          2 * kHeaderTextMargin);
        width = widest;
    }
    columns[static_cast<std::size_t>(index)].width = std::max(0, width);
    ClampScroll();
    Changed(ControlChange::ItemChanged);
    return true;
}

bool ListView::SortItems(PFNLVCOMPARE compare, LPARAM data) {
    if (!compare)
        return false;
    if (m_editWindow)
        EndEditLabel(false);
    // The rows' item data and places are sorted, then the rows moved once: the comparison
    // walks a compact array, and the place of the shift-click anchor is known afterwards.
    std::vector<std::pair<LPARAM, int>> order;
    order.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        order.emplace_back(items[i].lParam, static_cast<int>(i));
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        return compare(a.first, b.first, data) < 0;
    });
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    int anchor = -1;
    for (const auto& [lParam, place] : order) {
        if (place == m_anchor)
            anchor = static_cast<int>(sorted.size());
        sorted.push_back(std::move(items[static_cast<std::size_t>(place)]));
    }
    items.swap(sorted);
    // The anchor stays with its row, as the focus and selection do.
    m_anchor = anchor;
    m_pressItem = m_selectOnlyOnRelease = m_armedEdit = -1;
    m_dragCandidate = false;
    Changed(ControlChange::ItemChanged);
    return true;
}

// ---- States ----

bool ListView::SetState(int index, UINT state, UINT mask) {
    WindowData* data = winsys::Live(window);
    if (!data)
        return false;
    const bool single = data->style & LVS_SINGLESEL;
    if (index == -1) {
        if ((state & mask & LVIS_SELECTED) && single)
            return false;
        if (state & mask & LVIS_FOCUSED)
            return false;
        // One notification for all, with the item -1, as the common control sends it.
        bool any = false;
        for (Item& row : items) {
            const UINT updated = (row.state & ~mask) | (state & mask);
            any |= updated != row.state;
            row.state = updated;
        }
        if (any) {
            Changed(ControlChange::ItemChanged);
            NotifyItem(LVN_ITEMCHANGED, -1, state & mask, 0, LVIF_STATE);
        }
        return true;
    }
    if (!Valid(index))
        return false;
    if ((state & mask & LVIS_FOCUSED)) {
        const int focused = NextItem(-1, LVNI_FOCUSED);
        if (focused >= 0 && focused != index)
            SetState(focused, 0, LVIS_FOCUSED);
    }
    if ((state & mask & LVIS_SELECTED) && single)
        DeselectAllExcept(index);
    if (!Valid(index))
        return false;
    const UINT old = items[static_cast<std::size_t>(index)].state;
    const UINT updated = (old & ~mask) | (state & mask);
    if (updated == old)
        return true;
    if (NotifyItem(LVN_ITEMCHANGING, index, updated, old, LVIF_STATE) || !Valid(index))
        return false;
    items[static_cast<std::size_t>(index)].state = updated;
    Changed(ControlChange::ItemChanged, index);
    NotifyItem(LVN_ITEMCHANGED, index, updated, old, LVIF_STATE);
    return true;
}

int ListView::NextItem(int start, int flags) const {
    const UINT wanted =
        static_cast<UINT>(flags) & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
    auto matches = [&](int i) {
        return (items[static_cast<std::size_t>(i)].state & wanted) == wanted;
    };
    const int direction = flags & (LVNI_ABOVE | LVNI_TOLEFT) ? -1 : 1;
    if (direction < 0) {
        for (int i = (start < 0 ? Count() : start) - 1; i >= 0; --i)
            if (matches(i))
                return i;
        return -1;
    }
    for (int i = start + 1; i < Count(); ++i)
        if (matches(i))
            return i;
    return -1;
}

int ListView::SelectedCount() const {
    return static_cast<int>(std::count_if(items.begin(), items.end(), [](const Item& row) {
        return (row.state & LVIS_SELECTED) != 0;
    }));
}

void ListView::DeselectAllExcept(int keep) {
    for (int i = 0; i < Count(); ++i)
        if (i != keep && (items[static_cast<std::size_t>(i)].state & LVIS_SELECTED))
            SetState(i, 0, LVIS_SELECTED);
}

void ListView::SelectOnly(int index) {
    DeselectAllExcept(index);
    if (Valid(index))
        SetState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void ListView::SelectRange(int from, int to, bool keepOthers) {
    if (from > to)
        std::swap(from, to);
    for (int i = 0; i < Count(); ++i) {
        const bool inside = i >= from && i <= to;
        if (inside)
            SetState(i, LVIS_SELECTED, LVIS_SELECTED);
        else if (!keepOthers && (items[static_cast<std::size_t>(i)].state & LVIS_SELECTED))
            SetState(i, 0, LVIS_SELECTED);
    }
}

// ---- Geometry ----

int ListView::LineHeight() const {
    return winsys::MetricsOf(window).LineHeight();
}

CSize ListView::SmallImageSize() const {
    const auto& list = m_lists[LVSIL_SMALL];
    return list ? CSize(list->cx, list->cy) : CSize(16, 16);
}

CSize ListView::LargeImageSize() const {
    const auto& list = m_lists[LVSIL_NORMAL];
    return list ? CSize(list->cx, list->cy) : CSize(32, 32);
}

int ListView::HeaderHeight() const {
    WindowData* data = winsys::Live(window);
    if (View() != LVS_REPORT || !data || (data->style & LVS_NOCOLUMNHEADER))
        return 0;
    return LineHeight() + 6;
}

int ListView::RowHeight() const {
    return std::max<int>(SmallImageSize().cy, LineHeight()) + 1;
}

int ListView::CellWidth() const {
    if (View() == LVS_LIST && m_listColumnWidth > 0)
        return m_listColumnWidth;
    const int imageWidth = m_lists[LVSIL_SMALL] ? m_lists[LVSIL_SMALL]->cx : 0;
    if (m_widestText < 0) {
        m_widestText = 0;
        for (const Item& row : items)
            m_widestText = std::max(m_widestText, Width(window, row.label));
    }
    return kImageMargin + imageWidth + kImageMargin + m_widestText + 2 * kLabelPadding + 6;
}

void ListView::VisibleRange(int& first, int& last) const {
    const CRect client = winsys::ClientRect(window);
    const DWORD view = View();
    long from = 0;
    long to = Count() - 1;
    if (view == LVS_REPORT) {
        const long row = RowHeight();
        from = m_scroll.y / row;
        to = (m_scroll.y + client.Height() - HeaderHeight()) / row;
    } else if (view == LVS_LIST) {
        const long cell = std::max(1, CellWidth());
        from = (m_scroll.x / cell) * ItemsPerColumn();
        to = ((m_scroll.x + client.Width()) / cell + 1) * ItemsPerColumn() - 1;
    } else {
        const long cellHeight = view == LVS_ICON ? IconSpacing().cy : RowHeight();
        from = (m_scroll.y / cellHeight) * ItemsPerRow();
        to = ((m_scroll.y + client.Height()) / cellHeight + 1) * ItemsPerRow() - 1;
    }
    first = static_cast<int>(std::clamp(from, 0L, static_cast<long>(Count())));
    last = static_cast<int>(std::clamp(to, -1L, static_cast<long>(Count()) - 1));
}

CSize ListView::IconSpacing() const {
    const CSize large = LargeImageSize();
    return CSize(large.cx + 44, large.cy + 2 * LineHeight() + 14);
}

int ListView::ItemsPerColumn() const {
    return std::max(1, winsys::ClientRect(window).Height() / RowHeight());
}

int ListView::ItemsPerRow() const {
    const int cell = View() == LVS_ICON ? IconSpacing().cx : CellWidth();
    return std::max(1, winsys::ClientRect(window).Width() / std::max(1, cell));
}

int ListView::ColumnLeft(int column) const {
    int left = 0;
    for (int c = 0; c < column && c < static_cast<int>(columns.size()); ++c)
        left += columns[static_cast<std::size_t>(c)].width;
    return left - static_cast<int>(m_scroll.x);
}

int ListView::TotalColumnWidth() const {
    return std::accumulate(columns.begin(), columns.end(), 0,
                           [](int sum, const Column& c) { return sum + c.width; });
}

bool ListView::ItemRect(int index, UINT code, CRect& rect) const {
    if (!Valid(index))
        return false;
    const CString& text = items[static_cast<std::size_t>(index)].label;
    const int textWidth = Width(window, text);
    const DWORD view = View();
    CRect icon;
    CRect label;
    CRect bounds;
    if (view == LVS_ICON) {
        const CSize spacing = IconSpacing();
        const CSize large = LargeImageSize();
        const int perRow = ItemsPerRow();
        const long left = (index % perRow) * spacing.cx - m_scroll.x;
        const long top = (index / perRow) * spacing.cy - m_scroll.y;
        icon = CRect(left + 2, top, left + spacing.cx - 2, top + large.cy + 4);
        const int maxText = spacing.cx - 8;
        const int lines = textWidth <= maxText ? 1 : 2;
        const int labelWidth = std::min(textWidth, maxText) + 2 * kLabelPadding;
        const long labelLeft = left + (spacing.cx - labelWidth) / 2;
        label = CRect(labelLeft, icon.bottom, labelLeft + labelWidth,
                      icon.bottom + lines * LineHeight() + 2);
        bounds = CRect(icon.left, icon.top, icon.right, label.bottom);
    } else {
        const int row = RowHeight();
        const int imageWidth = m_lists[LVSIL_SMALL] ? m_lists[LVSIL_SMALL]->cx : 0;
        long left = 0;
        long top = 0;
        if (view == LVS_REPORT) {
            left = -m_scroll.x;
            top = HeaderHeight() + index * row - m_scroll.y;
        } else if (view == LVS_LIST) {
            const int perColumn = ItemsPerColumn();
            left = (index / perColumn) * CellWidth() - m_scroll.x;
            top = (index % perColumn) * row;
        } else {
            const int perRow = ItemsPerRow();
            left = (index % perRow) * CellWidth() - m_scroll.x;
            top = (index / perRow) * row - m_scroll.y;
        }
        icon = CRect(left + kImageMargin, top, left + kImageMargin + imageWidth, top + row);
        const long labelLeft = icon.right + (imageWidth ? kImageMargin : 0);
        if (view == LVS_REPORT) {
            const long columnRight = left + (columns.empty() ? 0 : columns.front().width);
            label = CRect(labelLeft, top, std::max(labelLeft, columnRight), top + row);
            bounds = CRect(left, top, left + TotalColumnWidth(), top + row);
        } else {
            label = CRect(labelLeft, top, labelLeft + textWidth + 2 * kLabelPadding, top + row);
            bounds = CRect(left, top, label.right, top + row);
        }
    }
    switch (code) {
    case LVIR_ICON:
        rect = icon;
        break;
    case LVIR_LABEL:
        rect = label;
        break;
    case LVIR_SELECTBOUNDS:
        rect = view == LVS_REPORT ? CRect(icon.left, icon.top, label.right, label.bottom) : bounds;
        break;
    default:
        rect = bounds;
        break;
    }
    return true;
}

bool ListView::SubItemRect(int index, int subItem, UINT code, CRect& rect) const {
    if (!Valid(index) || View() != LVS_REPORT || subItem < 0 ||
        subItem >= std::max(1, static_cast<int>(columns.size())))
        return false;
    if (subItem == 0)
        return ItemRect(index, code, rect);
    CRect row;
    ItemRect(index, LVIR_BOUNDS, row);
    const long left = ColumnLeft(subItem);
    const long right = left + columns[static_cast<std::size_t>(subItem)].width;
    rect = CRect(left, row.top, code == LVIR_ICON ? left : right, row.bottom);
    return true;
}

int ListView::HeaderHitTest(CPoint point) const {
    if (point.y < 0 || point.y >= HeaderHeight())
        return -1;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int left = ColumnLeft(c);
        if (point.x >= left && point.x < left + columns[static_cast<std::size_t>(c)].width)
            return c;
    }
    return -1;
}

CPoint ListView::PointerInClient() const {
    CPoint cursor;
    ::GetCursorPos(&cursor);
    const CPoint origin = winsys::ClientOrigin(window);
    return CPoint(cursor.x - origin.x, cursor.y - origin.y);
}

int ListView::HeaderDividerAt(CPoint point) const {
    if (point.y < 0 || point.y >= HeaderHeight())
        return -1;
    for (int c = static_cast<int>(columns.size()) - 1; c >= 0; --c) {
        const long edge = ColumnLeft(c) + columns[static_cast<std::size_t>(c)].width;
        if (std::labs(point.x - edge) <= kDividerGrip)
            return c;
    }
    return -1;
}

int ListView::HitTest(CPoint point, UINT& flags, int* subItem) const {
    const CRect client = winsys::ClientRect(window);
    flags = 0;
    if (subItem)
        *subItem = -1;
    if (point.y < 0)
        flags |= LVHT_ABOVE;
    else if (point.y >= client.bottom)
        flags |= LVHT_BELOW;
    if (point.x < 0)
        flags |= LVHT_TOLEFT;
    else if (point.x >= client.right)
        flags |= LVHT_TORIGHT;
    if (flags)
        return -1;
    flags = LVHT_NOWHERE;
    const DWORD view = View();
    int index = -1;
    if (view == LVS_REPORT) {
        if (point.y < HeaderHeight())
            return -1;
        index = static_cast<int>((point.y - HeaderHeight() + m_scroll.y) / RowHeight());
    } else if (view == LVS_LIST) {
        const int column = static_cast<int>((point.x + m_scroll.x) / std::max(1, CellWidth()));
        const int row = static_cast<int>(point.y / RowHeight());
        if (row >= ItemsPerColumn())
            return -1;
        index = column * ItemsPerColumn() + row;
    } else {
        const int cellWidth = view == LVS_ICON ? IconSpacing().cx : CellWidth();
        const int cellHeight = view == LVS_ICON ? IconSpacing().cy : RowHeight();
        const int column = static_cast<int>((point.x + m_scroll.x) / std::max(1, cellWidth));
        if (column >= ItemsPerRow())
            return -1;
        index = static_cast<int>((point.y + m_scroll.y) / cellHeight) * ItemsPerRow() + column;
    }
    if (!Valid(index))
        return -1;
    CRect icon;
    CRect label;
    ItemRect(index, LVIR_ICON, icon);
    ItemRect(index, LVIR_LABEL, label);
    if (view == LVS_REPORT) {
        // Column 0 is the item; other columns are sub-items only SubItemHitTest reports.
        const int left = ColumnLeft(0);
        const int right = left + (columns.empty() ? 0 : columns.front().width);
        if (subItem) {
            for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
                const int cl = ColumnLeft(c);
                if (point.x >= cl && point.x < cl + columns[static_cast<std::size_t>(c)].width)
                    *subItem = c;
            }
            if (*subItem > 0) {
                flags = LVHT_ONITEMLABEL;
                return index;
            }
        }
        if (point.x < left || point.x >= right)
            return -1;
        flags = point.x < icon.right ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
        if (subItem)
            *subItem = 0;
        return index;
    }
    if (icon.PtInRect(point))
        flags = LVHT_ONITEMICON;
    else if (label.PtInRect(point))
        flags = LVHT_ONITEMLABEL;
    else
        return -1;
    if (subItem)
        *subItem = 0;
    return index;
}

CSize ListView::ContentSize() const {
    const DWORD view = View();
    const int count = Count();
    if (view == LVS_REPORT)
        return CSize(TotalColumnWidth(), HeaderHeight() + count * RowHeight());
    if (view == LVS_LIST) {
        const int perColumn = ItemsPerColumn();
        const int columnsUsed = (count + perColumn - 1) / perColumn;
        return CSize(columnsUsed * CellWidth(), std::min(count, perColumn) * RowHeight());
    }
    const int perRow = ItemsPerRow();
    const int rows = (count + perRow - 1) / perRow;
    if (view == LVS_ICON)
        return CSize(std::min(count, perRow) * IconSpacing().cx, rows * IconSpacing().cy);
    return CSize(std::min(count, perRow) * CellWidth(), rows * RowHeight());
}

void ListView::ClampScroll() {
    const CRect client = winsys::ClientRect(window);
    const CSize content = ContentSize();
    const long maxX = std::max(0L, content.cx - client.Width());
    long maxY = std::max(0L, content.cy - client.Height());
    const DWORD view = View();
    if (view == LVS_REPORT) {
        // Whole rows: the last row may end up fully shown.
        const int row = RowHeight();
        maxY = ((maxY + row - 1) / row) * row;
    }
    if (view == LVS_LIST) {
        const int cell = std::max(1, CellWidth());
        m_scroll.x = std::clamp(m_scroll.x, 0L, ((maxX + cell - 1) / cell) * cell);
        m_scroll.y = 0;
        return;
    }
    m_scroll.x = std::clamp(m_scroll.x, 0L, maxX);
    m_scroll.y = std::clamp(m_scroll.y, 0L, maxY);
}

// As LVM_SCROLL: pixels, except that the report view moves by whole rows (rounded to the
// nearest) and the list view by `delta.cx` columns.
bool ListView::ScrollBy(CSize delta) {
    const DWORD view = View();
    CPoint target(m_scroll.x + delta.cx, m_scroll.y + delta.cy);
    if (view == LVS_REPORT) {
        const long row = RowHeight();
        const long rows = (delta.cy + (delta.cy < 0 ? -row / 2 : row / 2)) / row;
        target.y = m_scroll.y + rows * row;
    } else if (view == LVS_LIST) {
        target.x = m_scroll.x + delta.cx * std::max(1, CellWidth());
    }
    SetScroll(target);
    return true;
}

void ListView::SetScroll(CPoint position) {
    const CPoint old = m_scroll;
    m_scroll = position;
    ClampScroll();
    if (m_scroll == old)
        return;
    if (m_editWindow)
        EndEditLabel(true);
    Changed(ControlChange::Scrolled);
}

bool ListView::EnsureVisible(int index, bool partialOK) {
    CRect bounds;
    if (!ItemRect(index, LVIR_BOUNDS, bounds))
        return false;
    const CRect client = winsys::ClientRect(window);
    const DWORD view = View();
    const long top = view == LVS_REPORT ? HeaderHeight() : 0;
    CSize delta;
    if (view != LVS_LIST) {
        const bool fullyInside = bounds.top >= top && bounds.bottom <= client.bottom;
        const bool partlyInside = bounds.bottom > top && bounds.top < client.bottom;
        if (!(fullyInside || (partialOK && partlyInside))) {
            if (bounds.top < top)
                delta.cy = bounds.top - top;
            else
                delta.cy = bounds.bottom - client.bottom;
            if (view == LVS_REPORT && delta.cy > 0) {
                const int row = RowHeight();
                delta.cy = ((delta.cy + row - 1) / row) * row;
            }
        }
    }
    if (view != LVS_REPORT) {
        CRect horizontal = bounds;
        if (view == LVS_LIST)
            horizontal.right = horizontal.left + CellWidth();
        if (horizontal.left < 0)
            delta.cx = horizontal.left;
        else if (horizontal.right > client.right)
            delta.cx = std::min<long>(horizontal.left, horizontal.right - client.right);
        if (view == LVS_LIST && delta.cx > 0) {
            const int cell = std::max(1, CellWidth());
            delta.cx = ((delta.cx + cell - 1) / cell) * cell;
        }
    }
    if (delta.cx || delta.cy)
        SetScroll(CPoint(m_scroll.x + delta.cx, m_scroll.y + delta.cy));
    return true;
}

int ListView::TopIndex() const {
    const DWORD view = View();
    if (view == LVS_REPORT)
        return std::min(Count(), static_cast<int>(m_scroll.y / RowHeight()));
    if (view == LVS_LIST)
        return std::min(Count(),
                        static_cast<int>(m_scroll.x / std::max(1, CellWidth())) * ItemsPerColumn());
    return 0;
}

int ListView::CountPerPage() const {
    const CRect client = winsys::ClientRect(window);
    const DWORD view = View();
    if (view == LVS_REPORT)
        return std::max(0, (client.Height() - HeaderHeight()) / RowHeight());
    if (view == LVS_LIST)
        return ItemsPerColumn() * std::max(1, client.Width() / std::max(1, CellWidth()));
    return Count();
}

// ---- Label editing ----

HWND ListView::EditLabel(int index) {
    WindowData* data = winsys::Live(window);
    if (!data || !(data->style & LVS_EDITLABELS))
        return nullptr;
    if (m_editWindow)
        EndEditLabel(true);
    if (!Valid(index))
        return nullptr;
    if (winsys::Focus() != window)
        winsys::SetFocus(window);
    SelectOnly(index);
    EnsureVisible(index, false);
    if (!Valid(index))
        return nullptr;
    NMLVDISPINFO info{};
    std::string text = items[static_cast<std::size_t>(index)].label.str();
    info.item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    info.item.iItem = index;
    info.item.state = items[static_cast<std::size_t>(index)].state;
    info.item.lParam = items[static_cast<std::size_t>(index)].lParam;
    info.item.pszText = text.data();
    info.item.cchTextMax = static_cast<int>(text.size()) + 1;
    if (winsys::Notify(window, info.hdr, LVN_BEGINLABELEDIT) || !Valid(index) ||
        !winsys::Live(window))
        return nullptr;
    CRect label;
    ItemRect(index, LVIR_LABEL, label);
    // Room for the text and some more, at least a line high.
    const int wanted = Width(window, items[static_cast<std::size_t>(index)].label) + 20;
    if (label.Width() < wanted) {
        if (View() == LVS_ICON)
            label.InflateRect((wanted - label.Width()) / 2, 0);
        else
            label.right = label.left + wanted;
    }
    label.bottom = std::max<long>(label.bottom, label.top + LineHeight() + 4);
    winsys::CreateParams params;
    params.kind = WindowKind::Edit;
    params.text = items[static_cast<std::size_t>(index)].label.c_str();
    params.style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
    params.rect = label;
    params.parent = window;
    params.id = 1;
    HWND edit = winsys::Create(params);
    if (!edit)
        return nullptr;
    m_editWindow = edit;
    m_editItem = index;
    HWND self = window;
    EditOf(edit)->labelEditEnd = [self](bool commit) {
        if (ListView* list = ListViewOf(self))
            list->EndEditLabel(commit);
    };
    winsys::Send(edit, EM_SETSEL, 0, -1);
    winsys::SetFocus(edit);
    Changed(ControlChange::LabelEditStarted, index);
    return edit;
}

void ListView::EndEditLabel(bool commit) {
    if (!m_editWindow || m_ending)
        return;
    m_ending = true;
    HWND edit = m_editWindow;
    if (EditClass* editClass = EditOf(edit))
        editClass->labelEditEnd = nullptr;
    WindowData* editData = winsys::Live(edit);
    std::string text = editData ? editData->text.str() : std::string();
    const int index = m_editItem;
    NMLVDISPINFO info{};
    info.item.mask = LVIF_TEXT | LVIF_PARAM;
    info.item.iItem = index;
    info.item.lParam = Valid(index) ? items[static_cast<std::size_t>(index)].lParam : 0;
    info.item.pszText = commit ? text.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size()) + 1;
    const LRESULT accept = winsys::Notify(window, info.hdr, LVN_ENDLABELEDIT);
    const int edited = m_editItem; // rows may have moved meanwhile
    const bool hadFocus = winsys::Focus() == edit;
    m_editWindow = nullptr;
    m_editItem = -1;
    winsys::Destroy(edit);
    if (hadFocus && winsys::Live(window))
        winsys::SetFocus(window);
    if (commit && accept && Valid(edited)) {
        LVITEM item{};
        item.mask = LVIF_TEXT;
        item.iItem = edited;
        item.pszText = text.data();
        SetItem(item);
    }
    m_ending = false;
    Changed(ControlChange::LabelEditEnded, edited);
}

// ---- Images ----

CImageList* ListView::SetImageList(CImageList* list, int which) {
    if (which < LVSIL_NORMAL || which > LVSIL_STATE)
        return nullptr;
    CImageList* previous = m_listObjects[which];
    m_lists[which] = list ? ShareImageList(list->m_hImageList) : nullptr;
    m_listObjects[which] = list;
    ClampScroll();
    Changed(ControlChange::ImageListChanged);
    return previous;
}

CImageList* ListView::GetImageList(int which) const {
    if (which < LVSIL_NORMAL || which > LVSIL_STATE)
        return nullptr;
    return m_listObjects[which];
}

const ImageListData* ListView::ViewImages() const {
    return (View() == LVS_ICON ? m_lists[LVSIL_NORMAL] : m_lists[LVSIL_SMALL]).get();
}

std::unique_ptr<CImageList> ListView::CreateDragImage(int index, CPoint& topLeft) const {
    CRect bounds;
    CRect icon;
    CRect label;
    if (!ItemRect(index, LVIR_BOUNDS, bounds))
        return nullptr;
    ItemRect(index, LVIR_ICON, icon);
    ItemRect(index, LVIR_LABEL, label);
    if (View() == LVS_REPORT)
        ItemRect(index, LVIR_SELECTBOUNDS, bounds);
    topLeft = bounds.TopLeft();
    auto image = std::make_unique<CImageList>();
    if (!image->Create(std::max(1, bounds.Width()), std::max(1, bounds.Height()),
                       ILC_COLOR24 | ILC_MASK, 1, 0))
        return nullptr;
    PixelImage pixels;
    pixels.width = std::max(1, bounds.Width());
    pixels.height = std::max(1, bounds.Height());
    pixels.pixels.assign(static_cast<std::size_t>(pixels.width) * pixels.height,
                         ColorToRgb(GetSysColor(COLOR_WINDOW)));
    {
        PixelSurface surface(pixels.pixels, pixels.width, pixels.height,
                             CPoint(-bounds.left, -bounds.top));
        CDC dc;
        dc.AttachSurface(&surface, CPoint(), CRect(bounds), &winsys::MetricsOf(window));
        const Item& row = items[static_cast<std::size_t>(index)];
        if (const ImageListData* list = ViewImages()) {
            const CPoint at = View() == LVS_ICON
                                  ? CPoint(icon.left + (icon.Width() - list->cx) / 2, icon.top + 2)
                                  : CPoint(icon.left, icon.top + (icon.Height() - list->cy) / 2);
            DrawImageListImage(dc, *list, row.image, at, ILD_TRANSPARENT);
        }
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        CRect text = label;
        text.DeflateRect(kLabelPadding, 1);
        dc.DrawText(row.label, &text,
                    View() == LVS_ICON ? DT_CENTER | DT_WORDBREAK : DT_LEFT | DT_SINGLELINE);
    }
    LiveImageList(image->m_hImageList)->images.push_back(std::move(pixels));
    return image;
}

// ---- Behaviour ----

LRESULT ListView::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    window = hwnd;
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_SETREDRAW:
        m_redraw = wParam != 0;
        if (m_redraw) {
            UpdateScrollBars();
            winsys::Invalidate(window, nullptr);
        }
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS: {
        winsys::Invalidate(window, nullptr);
        NMHDR header{};
        winsys::Notify(window, header, NM_SETFOCUS);
        return 0;
    }
    case WM_KILLFOCUS: {
        winsys::Invalidate(window, nullptr);
        NMHDR header{};
        winsys::Notify(window, header, NM_KILLFOCUS);
        return 0;
    }
    case WM_LBUTTONDOWN:
        OnButtonDown(point, false);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnButtonDown(point, true);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(point);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != window) {
            m_dragCandidate = false;
            m_sizedColumn = -1;
            if (m_marqueePressed)
                EndMarquee();
        }
        return 0;
    case WM_TIMER:
        if (wParam == kAutoScrollTimer) {
            const CPoint point = PointerInClient();
            if (!m_marqueeShown) {
                m_autoScrolling = false;
                winsys::KillTimer(window, kAutoScrollTimer);
                return 0;
            }
            ScrollBy(AutoScrollStep(point));
            FollowMarquee(point);
            AutoScrollTowards(point);
            return 0;
        }
        return winsys::DefaultProc(hwnd, message, wParam, lParam);
    case WM_SETCURSOR:
        // Over a header divider the pointer shows that the column can be sized.
        if (reinterpret_cast<HWND>(wParam) == window && LOWORD(lParam) == HTCLIENT &&
            View() == LVS_REPORT) {
            if (HeaderDividerAt(PointerInClient()) >= 0) {
                ::SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
                return TRUE;
            }
        }
        return winsys::DefaultProc(hwnd, message, wParam, lParam);
    case WM_RBUTTONDOWN:
        OnRightDown(point);
        return 0;
    case WM_RBUTTONUP:
        OnRightUp(point);
        return 0;
    case WM_KEYDOWN:
        OnKey(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<unsigned>(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_STYLECHANGED:
        if ((static_cast<DWORD>(lParam) & LVS_TYPEMASK) != View()) {
            // Another view starts from its top-left corner.
            if (m_editWindow)
                EndEditLabel(true);
            m_scroll = CPoint();
        }
        ClampScroll();
        Changed(ControlChange::StyleChanged);
        return 0;
    case WM_SIZE:
        ClampScroll();
        UpdateScrollBars();
        winsys::Invalidate(window, nullptr);
        return 0;
    default:
        return winsys::DefaultProc(hwnd, message, wParam, lParam);
    }
}

void ListView::OnWheel(int delta) {
    const int notches = m_wheel.Notches(delta);
    if (notches == 0)
        return;
    const DWORD view = View();
    if (view == LVS_LIST) // the list view runs sideways: a notch moves it one column
        ScrollBy(CSize(-notches, 0));
    else if (view == LVS_REPORT)
        ScrollBy(CSize(0, -notches * kWheelScrollLines * RowHeight()));
    else
        ScrollBy(CSize(0, -notches * kWheelScrollLines * LineHeight()));
}

void ListView::OnScroll(int bar, int code) {
    const ScrollBarState state = winsys::ScrollState(window, bar);
    const DWORD view = View();
    // Bar positions in pixels, except rows in the report view and columns in the list view; a
    // line of pixels is a line of text.
    long unit = 1;
    int line = LineHeight();
    if (view == LVS_REPORT && bar == SB_VERT) {
        unit = RowHeight();
        line = 1;
    } else if (view == LVS_LIST && bar == SB_HORZ) {
        unit = std::max(1, CellWidth());
        line = 1;
    }
    const std::optional<int> position = scroll_bar::Target(state, code, line);
    if (!position)
        return;
    CPoint target = m_scroll;
    (bar == SB_VERT ? target.y : target.x) = *position * unit;
    SetScroll(target);
}

void ListView::OnButtonDown(CPoint point, bool doubleClick) {
    const bool hadFocus = winsys::Focus() == window;
    if (m_editWindow)
        EndEditLabel(true);
    if (winsys::Focus() != window)
        winsys::SetFocus(window);
    winsys::CancelDeferred(window);
    m_armedEdit = -1;
    m_selectOnlyOnRelease = -1;
    m_afterDoubleClick = doubleClick;
    if (!winsys::Live(window))
        return;
    if (View() == LVS_REPORT && point.y >= 0 && point.y < HeaderHeight()) {
        m_pressedColumn = -1;
        if (const int divider = HeaderDividerAt(point); divider >= 0) {
            // A double click fits the column to its texts; a press drags its width.
            if (doubleClick) {
                SetColumnWidth(divider, LVSCW_AUTOSIZE_USEHEADER);
                return;
            }
            m_sizedColumn = divider;
            m_sizePressX = point.x;
            m_sizeStartWidth = columns[static_cast<std::size_t>(divider)].width;
            winsys::SetCapture(window);
            return;
        }
        m_pressedColumn = doubleClick ? -1 : HeaderHitTest(point);
        return;
    }
    UINT flags = 0;
    const int hit = HitTest(point, flags);
    WindowData* data = winsys::Live(window);
    const bool single = data->style & LVS_SINGLESEL;
    const bool control = winsys::KeyDown(VK_CONTROL);
    const bool shift = winsys::KeyDown(VK_SHIFT);
    if (hit < 0) {
        if (!control && !shift)
            DeselectAllExcept(-1);
        m_pressItem = -1;
        if (doubleClick)
            NotifyActivate(NM_DBLCLK, -1, point);
        else if (!single && winsys::Live(window))
            BeginMarquee(point, (control ? MK_CONTROL : 0) | (shift ? MK_SHIFT : 0));
        return;
    }
    const UINT state = items[static_cast<std::size_t>(hit)].state;
    if (shift && !single && m_anchor >= 0) {
        SelectRange(m_anchor, hit, control);
        SetState(hit, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (control && !single && !doubleClick) {
        SetState(hit, (state & LVIS_SELECTED) ? LVIS_FOCUSED : LVIS_SELECTED | LVIS_FOCUSED,
                 LVIS_SELECTED | LVIS_FOCUSED);
        m_anchor = hit;
    } else if (state & LVIS_SELECTED) {
        // The others stay selected until the release, so that the selection can be dragged.
        SetState(hit, LVIS_FOCUSED, LVIS_FOCUSED);
        m_selectOnlyOnRelease = hit;
        m_anchor = hit;
        if (!doubleClick && hadFocus && (state & LVIS_FOCUSED) && (flags & LVHT_ONITEMLABEL) &&
            (data->style & LVS_EDITLABELS))
            m_armedEdit = hit;
    } else {
        SelectOnly(hit);
        m_anchor = hit;
    }
    if (doubleClick) {
        NotifyActivate(NM_DBLCLK, Valid(hit) ? hit : -1, point);
        return;
    }
    m_pressItem = hit;
    m_pressPoint = point;
    m_dragCandidate = Valid(hit);
    if (m_dragCandidate)
        winsys::SetCapture(window);
}

void ListView::BeginMarquee(CPoint point, UINT keys) {
    m_marqueePressed = true;
    m_marqueeShown = false;
    m_marqueeStart = CPoint(point.x + m_scroll.x, point.y + m_scroll.y);
    m_marqueeKeys = keys;
    m_selectedBefore.assign(items.size(), false);
    for (std::size_t i = 0; i < items.size(); ++i)
        m_selectedBefore[i] = (items[i].state & LVIS_SELECTED) != 0;
    winsys::SetCapture(window);
}

void ListView::FollowMarquee(CPoint point) {
    const CPoint start(m_marqueeStart.x - m_scroll.x, m_marqueeStart.y - m_scroll.y);
    m_marquee = CRect(std::min(start.x, point.x), std::min(start.y, point.y),
                      std::max(start.x, point.x) + 1, std::max(start.y, point.y) + 1);
    for (int i = 0; i < Count() && winsys::Live(window); ++i) {
        CRect bounds;
        ItemRect(i, LVIR_BOUNDS, bounds);
        CRect common;
        const bool inside = common.IntersectRect(&bounds, &m_marquee) != FALSE;
        const bool before = static_cast<std::size_t>(i) < m_selectedBefore.size() &&
                            m_selectedBefore[std::size_t(i)];
        const bool wanted = (m_marqueeKeys & MK_CONTROL) ? before != inside
                            : (m_marqueeKeys & MK_SHIFT) ? before || inside
                                                         : inside;
        if (wanted != ((items[static_cast<std::size_t>(i)].state & LVIS_SELECTED) != 0))
            SetState(i, wanted ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    winsys::Invalidate(window, nullptr);
}

CSize ListView::AutoScrollStep(CPoint point) const {
    const CRect client = winsys::ClientRect(window);
    const DWORD view = View();
    if (view == LVS_LIST) // one column at a time, sideways
        return CSize(point.x < 0 ? -1 : point.x >= client.right ? 1 : 0, 0);
    const long line = view == LVS_REPORT ? RowHeight() : LineHeight();
    const long top = view == LVS_REPORT ? HeaderHeight() : 0;
    return CSize(0, point.y < top ? -line : point.y >= client.bottom ? line : 0);
}

void ListView::AutoScrollTowards(CPoint point) {
    const bool outside = AutoScrollStep(point) != CSize(0, 0);
    if (outside && !m_autoScrolling)
        winsys::SetTimer(window, kAutoScrollTimer, kAutoScrollInterval);
    else if (!outside && m_autoScrolling)
        winsys::KillTimer(window, kAutoScrollTimer);
    m_autoScrolling = outside;
}

void ListView::EndMarquee() {
    const bool shown = m_marqueeShown;
    if (std::exchange(m_autoScrolling, false))
        winsys::KillTimer(window, kAutoScrollTimer);
    m_marqueePressed = m_marqueeShown = false;
    m_selectedBefore.clear();
    if (winsys::Capture() == window)
        winsys::ReleaseCapture();
    if (shown)
        winsys::Invalidate(window, nullptr);
}

void ListView::OnMouseMove(UINT keys, CPoint point) {
    if (m_marqueePressed) {
        if (!(keys & MK_LBUTTON)) {
            EndMarquee();
            return;
        }
        const CPoint start(m_marqueeStart.x - m_scroll.x, m_marqueeStart.y - m_scroll.y);
        if (!m_marqueeShown && std::labs(point.x - start.x) <= GetSystemMetrics(SM_CXDRAG) / 2 &&
            std::labs(point.y - start.y) <= GetSystemMetrics(SM_CYDRAG) / 2)
            return;
        m_marqueeShown = true;
        FollowMarquee(point);
        AutoScrollTowards(point);
        return;
    }
    if (m_sizedColumn >= 0) {
        // The width follows how far the pointer went, not where the column's edge now is: a
        // narrower column may scroll the list, and with it the edge.
        if (m_sizedColumn < static_cast<int>(columns.size()))
            SetColumnWidth(
                m_sizedColumn,
                std::max(0, m_sizeStartWidth + static_cast<int>(point.x - m_sizePressX)));
        // The button up ends the sizing, also one that came up unseen (the pointer grabbed
        // elsewhere).
        if (!(keys & MK_LBUTTON)) {
            m_sizedColumn = -1;
            if (winsys::Capture() == window)
                winsys::ReleaseCapture();
        }
        return;
    }
    if (!m_dragCandidate || !(keys & MK_LBUTTON))
        return;
    const int dx = GetSystemMetrics(SM_CXDRAG) / 2;
    const int dy = GetSystemMetrics(SM_CYDRAG) / 2;
    if (std::labs(point.x - m_pressPoint.x) <= dx && std::labs(point.y - m_pressPoint.y) <= dy)
        return;
    m_dragCandidate = false;
    m_selectOnlyOnRelease = -1;
    m_armedEdit = -1;
    if (winsys::Capture() == window)
        winsys::ReleaseCapture();
    if (Valid(m_pressItem))
        NotifyItem(LVN_BEGINDRAG, m_pressItem, 0, 0, 0, m_pressPoint);
}

void ListView::OnButtonUp(CPoint point) {
    if (m_marqueePressed) {
        const bool shown = m_marqueeShown;
        if (shown)
            FollowMarquee(point);
        EndMarquee();
        // A marquee is no click.
        if (shown)
            return;
    }
    if (m_sizedColumn >= 0) {
        OnMouseMove(0, point); // the last width, and the end of the sizing
        return;
    }
    if (m_pressedColumn >= 0) {
        const int column = std::exchange(m_pressedColumn, -1);
        if (HeaderHitTest(point) == column)
            NotifyItem(LVN_COLUMNCLICK, -1, 0, 0, 0, CPoint(), column);
        return;
    }
    if (std::exchange(m_afterDoubleClick, false))
        return;
    const bool wasCandidate = std::exchange(m_dragCandidate, false);
    if (wasCandidate && winsys::Capture() == window)
        winsys::ReleaseCapture();
    if (const int only = std::exchange(m_selectOnlyOnRelease, -1); Valid(only))
        SelectOnly(only);
    UINT flags = 0;
    NotifyActivate(NM_CLICK, HitTest(point, flags), point);
    // The edit starts once the double-click time has passed without a second click.
    if (const int armed = std::exchange(m_armedEdit, -1); Valid(armed)) {
        HWND self = window;
        winsys::Defer(window, [self, armed] {
            if (ListView* list = ListViewOf(self))
                list->EditLabel(armed);
        });
    }
}

void ListView::OnRightDown(CPoint point) {
    if (m_editWindow)
        EndEditLabel(true);
    if (winsys::Focus() != window)
        winsys::SetFocus(window);
    if (!winsys::Live(window))
        return;
    m_rightPressed = true;
    UINT flags = 0;
    const int hit = HitTest(point, flags);
    if (hit >= 0) {
        SetState(hit, LVIS_FOCUSED, LVIS_FOCUSED);
        if (!winsys::KeyDown(VK_SHIFT) && !winsys::KeyDown(VK_CONTROL) && Valid(hit) &&
            !(items[static_cast<std::size_t>(hit)].state & LVIS_SELECTED))
            SelectOnly(hit);
    } else {
        DeselectAllExcept(-1);
    }
}

void ListView::OnRightUp(CPoint point) {
    if (!std::exchange(m_rightPressed, false))
        return;
    UINT flags = 0;
    if (!NotifyActivate(NM_RCLICK, HitTest(point, flags), point) && winsys::Live(window)) {
        const CPoint origin = winsys::ClientOrigin(window);
        winsys::Send(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                     MAKEPOINTLPARAM(point.x + origin.x, point.y + origin.y));
    }
}

void ListView::MoveTo(int index, bool shift, bool control) {
    index = std::clamp(index, 0, Count() - 1);
    WindowData* data = winsys::Live(window);
    const bool single = data && (data->style & LVS_SINGLESEL);
    if (shift && !single && m_anchor >= 0) {
        SelectRange(m_anchor, index, false);
        SetState(index, LVIS_FOCUSED, LVIS_FOCUSED);
    } else if (control && !single) {
        SetState(index, LVIS_FOCUSED, LVIS_FOCUSED);
    } else {
        SelectOnly(index);
        m_anchor = index;
    }
    EnsureVisible(index, false);
}

void ListView::OnChar(unsigned ch) {
    const int found =
        m_typeAhead.Find(ch, GetTickCount(), Count(), NextItem(-1, LVNI_FOCUSED), [&](int index) {
            const CString& label = items[static_cast<std::size_t>(index)].label;
            return std::string_view(label.c_str(), static_cast<std::size_t>(label.GetLength()));
        });
    if (found >= 0)
        MoveTo(found, false, false);
}

void ListView::OnKey(UINT key) {
    NMLVKEYDOWN info{};
    info.wVKey = static_cast<WORD>(key);
    winsys::Notify(window, info.hdr, LVN_KEYDOWN);
    WindowData* data = winsys::Live(window);
    if (!data || items.empty())
        return;
    const bool shift = winsys::KeyDown(VK_SHIFT);
    const bool control = winsys::KeyDown(VK_CONTROL);
    const int focused = NextItem(-1, LVNI_FOCUSED);
    const int current = focused >= 0 ? focused : 0;
    const DWORD view = View();
    int vertical = 1;
    int horizontal = 1;
    if (view == LVS_LIST)
        horizontal = ItemsPerColumn();
    else if (view == LVS_ICON || view == LVS_SMALLICON)
        vertical = ItemsPerRow();
    const int page = std::max(1, view == LVS_REPORT ? CountPerPage() - 1 : vertical);
    switch (key) {
    case VK_UP:
        MoveTo(focused < 0 ? 0 : current - vertical, shift, control);
        break;
    case VK_DOWN:
        MoveTo(focused < 0 ? 0 : current + vertical, shift, control);
        break;
    case VK_LEFT:
        if (view != LVS_REPORT)
            MoveTo(focused < 0 ? 0 : current - horizontal, shift, control);
        break;
    case VK_RIGHT:
        if (view != LVS_REPORT)
            MoveTo(focused < 0 ? 0 : current + horizontal, shift, control);
        break;
    case VK_HOME:
        MoveTo(0, shift, control);
        break;
    case VK_END:
        MoveTo(Count() - 1, shift, control);
        break;
    case VK_PRIOR:
        MoveTo(current - page, shift, control);
        break;
    case VK_NEXT:
        MoveTo(current + page, shift, control);
        break;
    case VK_SPACE:
        if (control && focused >= 0)
            SetState(focused,
                     (items[static_cast<std::size_t>(focused)].state & LVIS_SELECTED)
                         ? 0
                         : LVIS_SELECTED,
                     LVIS_SELECTED);
        break;
    case VK_F2:
        if (focused >= 0)
            EditLabel(focused);
        break;
    default:
        break;
    }
}

// ---- Painting ----

void ListView::Paint() {
    CPaintDC dc(winsys::ObjectOf(window));
    const CRect client = winsys::ClientRect(window);
    const COLORREF back = background == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : background;
    if (back != CLR_NONE)
        dc.FillSolidRect(&client, back);
    // Custom draw: the parent may draw over every item after the default drawing.
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    draw.nmcd.hdc = dc.m_hDC;
    draw.nmcd.rc = client;
    draw.clrText = textColor == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : textColor;
    draw.clrTextBk = textBackground == CLR_DEFAULT ? back : textBackground;
    const LRESULT stage = winsys::Notify(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
    if (!winsys::Live(window))
        return;
    if (!(stage & CDRF_SKIPDEFAULT)) {
        const bool focused = winsys::Focus() == window;
        int first = 0;
        int last = -1;
        VisibleRange(first, last);
        for (int i = first; i <= last && i < Count(); ++i) {
            CRect bounds;
            ItemRect(i, LVIR_BOUNDS, bounds);
            CRect visible;
            if (!visible.IntersectRect(&bounds, &client))
                continue;
            NMLVCUSTOMDRAW item = draw;
            item.nmcd.rc = bounds;
            item.nmcd.dwItemSpec = static_cast<DWORD_PTR>(i);
            item.nmcd.lItemlParam = items[static_cast<std::size_t>(i)].lParam;
            const UINT state = items[static_cast<std::size_t>(i)].state;
            item.nmcd.uItemState = ((state & LVIS_SELECTED) ? CDIS_SELECTED : 0) |
                                   ((state & LVIS_FOCUSED) && focused ? CDIS_FOCUS : 0);
            LRESULT itemStage = CDRF_DODEFAULT;
            if (stage & CDRF_NOTIFYITEMDRAW) {
                item.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
                itemStage = winsys::Notify(window, item.nmcd.hdr, NM_CUSTOMDRAW);
                if (!winsys::Live(window) || !Valid(i))
                    return;
            }
            if (!(itemStage & CDRF_SKIPDEFAULT))
                PaintItem(dc, i, item);
            if (itemStage & CDRF_NOTIFYPOSTPAINT) {
                item.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
                winsys::Notify(window, item.nmcd.hdr, NM_CUSTOMDRAW);
                if (!winsys::Live(window))
                    return;
            }
        }
    }
    if (m_marqueeShown)
        dc.DrawFocusRect(&m_marquee);
    if (View() == LVS_REPORT)
        PaintHeader(dc);
    if (stage & CDRF_NOTIFYPOSTPAINT) {
        draw.nmcd.dwDrawStage = CDDS_POSTPAINT;
        winsys::Notify(window, draw.nmcd.hdr, NM_CUSTOMDRAW);
    }
}

void ListView::PaintItem(CDC& dc, int index, const NMLVCUSTOMDRAW& colors) {
    WindowData* data = winsys::Live(window);
    const Item& row = items[static_cast<std::size_t>(index)];
    const bool focused = winsys::Focus() == window;
    const bool showSelection = focused || (data->style & LVS_SHOWSELALWAYS);
    const LabelLook look = LookOfLabel((row.state & LVIS_DROPHILITED) != 0,
                                       (row.state & LVIS_SELECTED) && showSelection, focused);
    const DWORD view = View();
    CRect icon;
    CRect label;
    ItemRect(index, LVIR_ICON, icon);
    ItemRect(index, LVIR_LABEL, label);
    if (const ImageListData* list = ViewImages()) {
        const CPoint at = view == LVS_ICON
                              ? CPoint(icon.left + (icon.Width() - list->cx) / 2, icon.top + 2)
                              : CPoint(icon.left, icon.top + (icon.Height() - list->cy) / 2);
        DrawImageListImage(dc, *list, row.image, at,
                           look.highlighted ? ILD_TRANSPARENT | ILD_SELECTED : ILD_TRANSPARENT);
    }
    if (look.back)
        dc.FillSolidRect(&label, GetSysColor(*look.back));
    else if (textBackground != CLR_DEFAULT && colors.clrTextBk != CLR_NONE)
        dc.FillSolidRect(&label, colors.clrTextBk);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(look.text ? GetSysColor(*look.text) : colors.clrText);
    const int lineHeight = LineHeight();
    if (m_editItem != index) {
        CRect text = label;
        text.DeflateRect(kLabelPadding, 0);
        if (view == LVS_ICON) {
            text.top += 1;
            dc.DrawText(row.label, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
        } else {
            dc.DrawText(row.label, &text,
                        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    if (view == LVS_REPORT) {
        dc.SetTextColor(colors.clrText);
        for (int c = 1; c < static_cast<int>(columns.size()); ++c) {
            CRect cell;
            SubItemRect(index, c, LVIR_LABEL, cell);
            cell.DeflateRect(kHeaderTextMargin, 0);
            const int format = columns[static_cast<std::size_t>(c)].format & LVCFMT_JUSTIFYMASK;
            const UINT align = format == LVCFMT_RIGHT    ? DT_RIGHT
                               : format == LVCFMT_CENTER ? DT_CENTER
                                                         : DT_LEFT;
            dc.DrawText(Text(index, c), &cell,
                        align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        }
    }
    if ((row.state & LVIS_FOCUSED) && focused && lineHeight > 0)
        dc.DrawFocusRect(&label);
}

void ListView::PaintHeader(CDC& dc) {
    const int height = HeaderHeight();
    if (!height)
        return;
    const CRect client = winsys::ClientRect(window);
    dc.FillSolidRect(0, 0, client.Width(), height, GetSysColor(COLOR_BTNFACE));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int left = ColumnLeft(c);
        const CRect button(left, 0, left + columns[static_cast<std::size_t>(c)].width, height);
        if (button.right <= 0 || button.left >= client.right)
            continue;
        DrawEdge3d(dc, button, m_pressedColumn == c);
        CRect text = button;
        text.DeflateRect(kHeaderTextMargin, 0);
        dc.DrawText(columns[static_cast<std::size_t>(c)].text, &text,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}
