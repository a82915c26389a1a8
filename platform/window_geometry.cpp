// The window layer: where windows are and what they look like.
#include "platform/window_system.h"
#include "platform/window_system_internal.h"

#include "platform/window.h"

#include <algorithm>

using namespace winsys_internal;

namespace winsys {

// ---- Geometry ----

HWND TopLevelOf(HWND window) {
    WindowData* data = Live(window);
    while (data && data->parent)
        data = data->parent;
    return data;
}

bool IsVisible(HWND window) {
    for (WindowData* data = Live(window); data; data = data->parent)
        if (!(data->style & WS_VISIBLE))
            return false;
    return Live(window) != nullptr;
}

CRect Insets(const WindowData& data) {
    CRect insets = BorderInsets(data);
    if (data.parent && (data.style & WS_VSCROLL))
        insets.right += GetSystemMetrics(SM_CXVSCROLL);
    if (data.parent && (data.style & WS_HSCROLL))
        insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
    return insets;
}

CRect BorderInsets(const WindowData& data) {
    if (!data.parent)
        return CurrentWindowBackend().FrameInsets(data.style, data.exStyle);
    long edge = 0;
    if (data.exStyle & WS_EX_CLIENTEDGE)
        edge = 2;
    else if (data.style & WS_BORDER)
        edge = 1;
    if (data.exStyle & WS_EX_STATICEDGE)
        edge += 1;
    return CRect(edge, edge, edge, edge);
}

CRect ClientRect(HWND window) {
    WindowData* data = Live(window);
    if (!data)
        return CRect();
    const CRect insets = Insets(*data);
    return CRect(0, 0, std::max(0L, data->rect.Width() - insets.left - insets.right),
                 std::max(0L, data->rect.Height() - insets.top - insets.bottom));
}

CPoint ClientOrigin(HWND window) {
    WindowData* data = Live(window);
    if (!data)
        return CPoint();
    const CRect insets = Insets(*data);
    CPoint origin(data->rect.left + insets.left, data->rect.top + insets.top);
    if (data->parent)
        origin += ClientOrigin(data->parent);
    return origin;
}

CPoint OriginInTopLevel(HWND window) {
    const CSize offset = ClientOrigin(window) - ClientOrigin(TopLevelOf(window));
    return CPoint(offset.cx, offset.cy);
}

namespace {
HWND ChildFromPoint(WindowData* parent, CPoint clientPoint) {
    for (HWND child : parent->children) {
        // Static controls let the mouse through to what lies beneath, as in a dialog.
        if (!(child->style & WS_VISIBLE) || !child->rect.PtInRect(clientPoint) ||
            child->kind == WindowKind::Static)
            continue;
        if (child->style & WS_DISABLED)
            return parent;
        const CRect insets = Insets(*child);
        const CPoint inner(clientPoint.x - child->rect.left - insets.left,
                           clientPoint.y - child->rect.top - insets.top);
        return ChildFromPoint(child, inner);
    }
    return parent;
}
} // namespace

HWND WindowFromPoint(CPoint screenPoint) {
    auto& tops = Sys().topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        WindowData* top = *it;
        if (!(top->style & WS_VISIBLE) || !top->rect.PtInRect(screenPoint))
            continue;
        if (top->style & WS_DISABLED)
            return nullptr;
        const CPoint origin = ClientOrigin(top);
        const CPoint client(screenPoint.x - origin.x, screenPoint.y - origin.y);
        if (!ClientRect(top).PtInRect(client))
            return nullptr; // the frame: nothing of ours handles it
        return ChildFromPoint(top, client);
    }
    return nullptr;
}

namespace {
void UpdateNativeBounds(WindowData* data) {
    if (data->native) {
        CRect bounds = data->rect;
        if (data->parent)
            bounds.OffsetRect(OriginInTopLevel(data->parent));
        data->native->SetBounds(bounds);
    }
    for (HWND child : data->children)
        UpdateNativeBounds(child);
}
} // namespace

void SetWindowRect(HWND window, const CRect& rect, bool repaint) {
    WindowData* data = Live(window);
    if (!data)
        return;
    const CRect old = data->rect;
    if (old == rect)
        return;
    if (repaint && data->parent && (data->style & WS_VISIBLE)) {
        CRect oldArea = old;
        Invalidate(data->parent, &oldArea);
    }
    data->rect = rect;
    if (data->peer)
        data->peer->SetWindowRect(rect);
    UpdateNativeBounds(data);
    if (old.Width() != rect.Width() || old.Height() != rect.Height()) {
        const CRect client = ClientRect(window);
        Send(window, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(client.Width()), static_cast<WORD>(client.Height())));
    }
    if (old.TopLeft() != rect.TopLeft() && Live(window)) {
        const CPoint origin = data->parent ? CPoint(rect.left, rect.top) : ClientOrigin(window);
        Send(window, WM_MOVE, 0, MAKEPOINTLPARAM(origin.x, origin.y));
    }
    if (repaint && Live(window))
        Invalidate(window, nullptr);
}

void SetVisible(HWND window, bool visible) {
    WindowData* data = Live(window);
    if (!data || bool(data->style & WS_VISIBLE) == visible)
        return;
    if (!visible)
        Invalidate(window, nullptr);
    Send(window, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
    if (!Live(window))
        return;
    if (visible)
        data->style |= WS_VISIBLE;
    else
        data->style &= ~WS_VISIBLE;
    if (data->peer)
        data->peer->Show(visible);
    std::vector<WindowData*> stack{data};
    while (!stack.empty()) {
        WindowData* next = stack.back();
        stack.pop_back();
        if (next->native)
            next->native->SetVisible(IsVisible(next));
        for (HWND child : next->children)
            stack.push_back(child);
    }
    if (visible)
        Invalidate(window, nullptr);
}

void SetStyle(HWND window, DWORD style, DWORD exStyle) {
    WindowData* data = Live(window);
    if (!data)
        return;
    const DWORD oldStyle = data->style;
    const DWORD oldEx = data->exStyle;
    if (oldStyle == style && oldEx == exStyle)
        return;
    const bool visibilityChanged = (oldStyle ^ style) & WS_VISIBLE;
    data->style = style & ~WS_VISIBLE;
    data->style |= oldStyle & WS_VISIBLE;
    data->exStyle = exStyle;
    Send(window, WM_STYLECHANGED, 0, static_cast<LPARAM>(oldStyle));
    if (visibilityChanged)
        SetVisible(window, style & WS_VISIBLE);
    if (Live(window)) {
        if (data->native)
            data->native->ModelChanged({ControlChange::StyleChanged});
        Invalidate(window, nullptr);
    }
}

void SetText(HWND window, const CString& text) {
    WindowData* data = Live(window);
    if (!data)
        return;
    data->text = text;
    if (data->peer)
        data->peer->SetTitle(text);
    if (data->native)
        data->native->ModelChanged({ControlChange::ItemChanged});
    Invalidate(window, nullptr);
}

const FontMetrics& MetricsOf(HWND window) {
    WindowData* data = Live(window);
    if (data && data->metrics)
        return *data->metrics;
    return CurrentWindowBackend().Metrics("MS Sans Serif", 8);
}

} // namespace winsys
