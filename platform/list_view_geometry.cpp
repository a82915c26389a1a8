// Where the list view puts its header, rows and cells in each view, and how it scrolls.
#include "platform/list_view.h"
#include "platform/list_view_layout.h"

#include "platform/app.h"
#include "platform/list_ctrl.h"
#include "platform/window_system.h"

#include <algorithm>
#include <numeric>
#include <string_view>
#include <vector>

using namespace list_view_layout;

namespace {
// How far from a header divider the pointer may be to take hold of it, on either side.
constexpr long kDividerGrip = 4;
} // namespace

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
        std::vector<std::string_view> labels;
        labels.reserve(items.size());
        for (const Item& row : items)
            labels.push_back(row.label.str());
        m_widestText = winsys::MetricsOf(window).WidestTextWidth(labels);
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
