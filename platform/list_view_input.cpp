// The list view under the mouse and the keyboard: clicks, marquee, header sizing, keys and
// label editing.
#include "platform/list_view.h"
#include "platform/list_view_layout.h"

#include "platform/app.h"
#include "platform/list_ctrl.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

using namespace list_view_layout;

namespace {
// The timer that scrolls the list while a marquee's pointer is beyond its edge, and how often.
constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr UINT kAutoScrollInterval = 50;
} // namespace

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
    HWND self = window;
    HWND edit = CreateLabelEditor(
        window, label, items[static_cast<std::size_t>(index)].label.c_str(), [self](bool commit) {
            if (ListView* list = ListViewOf(self))
                list->EndEditLabel(commit);
        });
    if (!edit)
        return nullptr;
    m_editWindow = edit;
    m_editItem = index;
    FocusLabelEditor(edit);
    Changed(ControlChange::LabelEditStarted, index);
    return edit;
}

void ListView::EndEditLabel(bool commit) {
    if (!m_editWindow || m_ending)
        return;
    m_ending = true;
    HWND edit = m_editWindow;
    std::string text = DetachLabelEditor(edit);
    const int index = m_editItem;
    NMLVDISPINFO info{};
    info.item.mask = LVIF_TEXT | LVIF_PARAM;
    info.item.iItem = index;
    info.item.lParam = Valid(index) ? items[static_cast<std::size_t>(index)].lParam : 0;
    info.item.pszText = commit ? text.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size()) + 1;
    const LRESULT accept = winsys::Notify(window, info.hdr, LVN_ENDLABELEDIT);
    const int edited = m_editItem; // rows may have moved meanwhile
    m_editWindow = nullptr;
    m_editItem = -1;
    DestroyLabelEditor(window, edit);
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
    case WM_MOUSEHWHEEL:
        OnSidewaysWheel(GET_WHEEL_DELTA_WPARAM(wParam));
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

void ListView::OnSidewaysWheel(int delta) {
    const int notches = m_sidewaysWheel.Notches(delta);
    if (notches == 0)
        return;
    if (View() == LVS_LIST) // a column a notch, as the upright wheel moves it there
        ScrollBy(CSize(notches, 0));
    else // the lines of pixels the scroll bar's arrows move, three to a notch
        ScrollBy(CSize(notches * kWheelScrollLines * LineHeight(), 0));
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
