// The list view control: its rows, columns, item states and image lists.
#include "platform/list_view.h"
#include "platform/list_view_layout.h"

#include "platform/app.h"
#include "platform/image_list.h"
#include "platform/list_ctrl.h"
#include "platform/pixel_surface.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

using namespace list_view_layout;

namespace {

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
        std::vector<CString> texts;
        texts.reserve(items.size());
        for (int i = 0; i < Count(); ++i)
            texts.push_back(Text(i, index));
        std::vector<std::string_view> views;
        views.reserve(texts.size());
        for (const CString& text : texts)
            views.push_back(text.str());
        int widest = texts.empty() ? 0 : winsys::MetricsOf(window).WidestTextWidth(views) + room;
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
