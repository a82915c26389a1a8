// The tree view under the mouse and the keyboard: buttons, clicks, keys and label editing.
#include "platform/tree_view.h"

#include "platform/app.h"
#include "platform/controls.h"
#include "platform/tree_ctrl.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

// ---- Label editing ----

HWND TreeView::EditLabel(HTREEITEM item) {
    if (m_editWindow)
        EndEditLabel(true);
    if (!Find(item))
        return nullptr;
    if (winsys::Focus() != window)
        winsys::SetFocus(window);
    EnsureVisible(item);
    Node* node = Find(item);
    if (!node)
        return nullptr;
    NMTVDISPINFO info{};
    std::string text;
    Describe(node, info.item, text);
    if (winsys::Notify(window, info.hdr, TVN_BEGINLABELEDIT))
        return nullptr;
    node = Find(item);
    CRect label;
    if (!node || !winsys::Live(window) || !ItemRect(item, label, true))
        return nullptr;
    // Wide enough for the text and some more, within the client area.
    const CRect client = winsys::ClientRect(window);
    label.right = std::min<long>(client.right, std::max<long>(label.right + 40, label.left + 60));
    label.InflateRect(0, 1);
    HWND self = window;
    HWND edit = CreateLabelEditor(window, label, node->text.c_str(), [self](bool commit) {
        if (TreeView* tree = TreeViewOf(self))
            tree->EndEditLabel(commit);
    });
    if (!edit)
        return nullptr;
    m_editWindow = edit;
    m_editItem = item;
    FocusLabelEditor(edit);
    Changed(ControlChange::LabelEditStarted, item);
    return edit;
}

void TreeView::EndEditLabel(bool commit) {
    if (!m_editWindow || m_ending)
        return;
    m_ending = true;
    HWND edit = m_editWindow;
    const HTREEITEM item = m_editItem;
    std::string text = DetachLabelEditor(edit);
    NMTVDISPINFO info{};
    std::string itemText;
    Describe(Find(item), info.item, itemText);
    info.item.hItem = item;
    info.item.pszText = commit ? text.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size()) + 1;
    const LRESULT accept = winsys::Notify(window, info.hdr, TVN_ENDLABELEDIT);
    if (commit && accept)
        if (Node* node = Find(item))
            node->SetText(CString(text.data(), static_cast<int>(text.size())));
    m_editWindow = nullptr;
    m_editItem = nullptr;
    DestroyLabelEditor(window, edit);
    m_ending = false;
    Changed(ControlChange::LabelEditEnded, item);
}

// ---- Behaviour ----

LRESULT TreeView::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    window = hwnd;
    const CPoint point(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    // Input and scrolling act on the layout as it is.
    if (message != WM_SETREDRAW)
        Settle();
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
    case WM_SETFOCUS:
        winsys::Invalidate(window, nullptr);
        NotifySimple(NM_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        winsys::Invalidate(window, nullptr);
        NotifySimple(NM_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
        OnButtonDown(point);
        return 0;
    case WM_LBUTTONUP:
        OnButtonUp(point);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(point);
        return 0;
    case WM_MOUSEMOVE:
        if (m_dragCandidate && (wParam & MK_LBUTTON)) {
            const int dx = GetSystemMetrics(SM_CXDRAG) / 2;
            if (std::labs(point.x - m_pressPoint.x) > dx ||
                std::labs(point.y - m_pressPoint.y) > dx) {
                m_dragCandidate = false;
                m_armedEdit = nullptr;
                if (winsys::Capture() == window)
                    winsys::ReleaseCapture();
                if (Node* node = Find(m_pressItem))
                    NotifyTree(TVN_BEGINDRAG, 0, nullptr, node, m_pressPoint);
            }
        }
        return 0;
    case WM_CAPTURECHANGED:
        m_dragCandidate = false;
        return 0;
    case WM_RBUTTONDOWN: {
        if (m_editWindow)
            EndEditLabel(true);
        if (winsys::Focus() != window)
            winsys::SetFocus(window);
        UINT flags = 0;
        const HTREEITEM hit = HitTest(point, flags);
        m_rightItem = (flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) ? hit : nullptr;
        return 0;
    }
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
        OnScroll(LOWORD(wParam));
        return 0;
    case WM_HSCROLL:
        OnHorizontalScroll(LOWORD(wParam));
        return 0;
    case WM_STYLECHANGED:
    case WM_SIZE:
        UpdateScrollBars();
        winsys::Invalidate(window, nullptr);
        return 0;
    default:
        return winsys::DefaultProc(hwnd, message, wParam, lParam);
    }
}

void TreeView::OnWheel(int delta) {
    const int notches = m_wheel.Notches(delta);
    if (notches != 0)
        ScrollToRow(m_scrollTop - notches * kWheelScrollLines);
}

void TreeView::OnSidewaysWheel(int delta) {
    const int notches = m_sidewaysWheel.Notches(delta);
    if (notches != 0)
        OnHorizontalScroll(notches > 0 ? SB_LINERIGHT : SB_LINELEFT,
                           std::abs(notches) * kWheelScrollLines);
}

void TreeView::OnScroll(int code) {
    // Rows: a line is one.
    if (const std::optional<int> row =
            scroll_bar::Target(winsys::ScrollState(window, SB_VERT), code, 1))
        ScrollToRow(*row);
}

void TreeView::OnHorizontalScroll(int code, int lines) {
    // Pixels: a line is one level of indentation.
    const std::optional<int> position =
        scroll_bar::Target(winsys::ScrollState(window, SB_HORZ), code, lines * m_indent);
    if (!position || *position == m_scrollLeft)
        return;
    if (m_editWindow)
        EndEditLabel(true);
    m_scrollLeft = *position;
    UpdateScrollBars();
    winsys::Invalidate(window, nullptr);
}

void TreeView::ScrollToRow(int row) {
    // Down to where the last item sits at the bottom (or no further than the tree already is).
    const int last = std::max({0, VisibleCount() - std::max(1, PageRows()), m_scrollTop});
    const int top = std::clamp(row, 0, last);
    if (top == m_scrollTop)
        return;
    if (m_editWindow)
        EndEditLabel(true);
    m_scrollTop = top;
    UpdateScrollBars();
    winsys::Invalidate(window, nullptr);
}

void TreeView::OnButtonDown(CPoint point) {
    const bool hadFocus = winsys::Focus() == window;
    if (m_editWindow)
        EndEditLabel(true);
    if (winsys::Focus() != window)
        winsys::SetFocus(window);
    winsys::CancelDeferred(window);
    m_armedEdit = nullptr;
    UINT flags = 0;
    const HTREEITEM hit = HitTest(point, flags);
    m_pressItem = nullptr;
    if (flags & TVHT_ONITEMBUTTON) {
        Expand(hit, TVE_TOGGLE, true);
        return;
    }
    if (!(flags & TVHT_ONITEM))
        return;
    WindowData* data = winsys::Live(window);
    if (hit == m_selected && hadFocus && (flags & TVHT_ONITEMLABEL) && data &&
        (data->style & TVS_EDITLABELS))
        m_armedEdit = hit;
    m_pressItem = hit;
    m_pressPoint = point;
    m_dragCandidate = data && !(data->style & TVS_DISABLEDRAGDROP);
    if (m_dragCandidate)
        winsys::SetCapture(window);
    Select(hit, TVGN_CARET, TVC_BYMOUSE);
}

void TreeView::OnButtonUp(CPoint) {
    const bool wasCandidate = m_dragCandidate;
    m_dragCandidate = false;
    if (wasCandidate && winsys::Capture() == window)
        winsys::ReleaseCapture();
    NotifySimple(NM_CLICK);
    // The edit starts once the double-click time has passed without a second click.
    if (const HTREEITEM armed = std::exchange(m_armedEdit, nullptr); armed && Find(armed)) {
        HWND self = window;
        winsys::Defer(window, [self, armed] {
            if (TreeView* tree = TreeViewOf(self))
                tree->EditLabel(armed);
        });
    }
}

void TreeView::OnDoubleClick(CPoint point) {
    winsys::CancelDeferred(window);
    m_armedEdit = nullptr;
    UINT flags = 0;
    const HTREEITEM hit = HitTest(point, flags);
    if (flags & TVHT_ONITEMBUTTON) {
        Expand(hit, TVE_TOGGLE, true);
        return;
    }
    if (NotifySimple(NM_DBLCLK))
        return;
    if ((flags & TVHT_ONITEM) && Find(hit))
        Expand(hit, TVE_TOGGLE, true);
}

void TreeView::OnRightUp(CPoint point) {
    // While NM_RCLICK is handled, the item under the pointer shows as the drop target.
    const HTREEITEM previousDrop = Find(m_drop) ? m_drop : nullptr;
    const HTREEITEM item = std::exchange(m_rightItem, nullptr);
    if (item && Find(item))
        Select(item, TVGN_DROPHILITE, 0);
    if (!NotifySimple(NM_RCLICK) && winsys::Live(window)) {
        CPoint screen = point;
        const CPoint origin = winsys::ClientOrigin(window);
        screen.Offset(origin.x, origin.y);
        winsys::Send(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                     MAKEPOINTLPARAM(screen.x, screen.y));
    }
    if (item && winsys::Live(window))
        Select(Find(previousDrop) ? previousDrop : nullptr, TVGN_DROPHILITE, 0);
}

void TreeView::OnChar(unsigned ch) {
    const std::vector<Node*> visible = VisibleItems();
    const int found = m_typeAhead.Find(
        ch, GetTickCount(), static_cast<int>(visible.size()), VisibleIndex(Find(m_selected)),
        [&](int index) {
            const CString& text = visible[static_cast<std::size_t>(index)]->text;
            return std::string_view(text.c_str(), static_cast<std::size_t>(text.GetLength()));
        });
    if (found >= 0)
        Select(visible[static_cast<std::size_t>(found)]->handle, TVGN_CARET, TVC_BYKEYBOARD);
}

void TreeView::ExpandAllBelow(HTREEITEM item) {
    // Handles, not nodes: an expansion notification may insert or delete items on the way.
    std::vector<HTREEITEM> pending{item};
    while (!pending.empty()) {
        const HTREEITEM next = pending.back();
        pending.pop_back();
        Node* node = Find(next);
        if (!node || !HasChildren(node))
            continue;
        if (!(node->state & TVIS_EXPANDED))
            Expand(next, TVE_EXPAND, true);
        if (!winsys::Live(window))
            return;
        if ((node = Find(next)) == nullptr)
            continue;
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child)
            pending.push_back((*child)->handle);
    }
}

void TreeView::OnKey(UINT key) {
    NMTVKEYDOWN info{};
    info.wVKey = static_cast<WORD>(key);
    winsys::Notify(window, info.hdr, TVN_KEYDOWN);
    if (!winsys::Live(window))
        return;
    const std::vector<Node*> visible = VisibleItems();
    if (visible.empty())
        return;
    Node* current = Find(m_selected);
    int index = VisibleIndex(current);
    auto selectRow = [&](int row) {
        row = std::clamp(row, 0, static_cast<int>(visible.size()) - 1);
        Select(visible[static_cast<std::size_t>(row)]->handle, TVGN_CARET, TVC_BYKEYBOARD);
    };
    switch (key) {
    case VK_UP:
        selectRow(index < 0 ? 0 : index - 1);
        break;
    case VK_DOWN:
        selectRow(index < 0 ? 0 : index + 1);
        break;
    case VK_HOME:
        selectRow(0);
        break;
    case VK_END:
        selectRow(static_cast<int>(visible.size()) - 1);
        break;
    case VK_PRIOR:
        selectRow(index - std::max(1, PageRows() - 1));
        break;
    case VK_NEXT:
        selectRow(index + std::max(1, PageRows() - 1));
        break;
    case VK_LEFT:
        if (!current)
            selectRow(0);
        else if (current->state & TVIS_EXPANDED)
            Expand(current->handle, TVE_COLLAPSE, true);
        else if (current->parent)
            Select(current->parent->handle, TVGN_CARET, TVC_BYKEYBOARD);
        break;
    case VK_RIGHT:
        if (!current)
            selectRow(0);
        else if (!(current->state & TVIS_EXPANDED) && HasChildren(current))
            Expand(current->handle, TVE_EXPAND, true);
        else if (!current->children.empty())
            Select(current->children.front()->handle, TVGN_CARET, TVC_BYKEYBOARD);
        break;
    case VK_ADD:
        if (current && !(current->state & TVIS_EXPANDED) && HasChildren(current))
            Expand(current->handle, TVE_EXPAND, true);
        break;
    case VK_SUBTRACT:
        if (current && (current->state & TVIS_EXPANDED))
            Expand(current->handle, TVE_COLLAPSE, true);
        break;
    case VK_MULTIPLY:
        if (current)
            ExpandAllBelow(current->handle);
        break;
    case VK_BACK:
        if (current && current->parent)
            Select(current->parent->handle, TVGN_CARET, TVC_BYKEYBOARD);
        break;
    case VK_F2:
        if (WindowData* data = winsys::Live(window);
            data && (data->style & TVS_EDITLABELS) && current)
            EditLabel(current->handle);
        break;
    default:
        break;
    }
}
