// The window layer: painting, and the frames and scroll bars it draws around windows.
#include "platform/window_system.h"
#include "platform/window_system_internal.h"

#include "platform/gdi.h"
#include "platform/window.h"

using namespace winsys_internal;

namespace {

COLORREF Sys3d(int index) {
    return GetSysColor(index);
}

void DrawNonClient(const WindowData& data, DrawSurface& surface, const CRect& rect) {
    CRect r = rect;
    auto frame = [&](COLORREF topLeft, COLORREF bottomRight) {
        surface.Edge(r, topLeft, bottomRight);
        r.DeflateRect(1, 1);
    };
    if (data.exStyle & WS_EX_STATICEDGE)
        frame(Sys3d(COLOR_BTNSHADOW), Sys3d(COLOR_BTNHIGHLIGHT));
    if (data.exStyle & WS_EX_CLIENTEDGE) {
        frame(Sys3d(COLOR_BTNSHADOW), Sys3d(COLOR_BTNHIGHLIGHT));
        frame(Sys3d(COLOR_3DDKSHADOW), Sys3d(COLOR_3DLIGHT));
    } else if (data.style & WS_BORDER) {
        frame(Sys3d(COLOR_WINDOWFRAME), Sys3d(COLOR_WINDOWFRAME));
    }
    if (data.style & (WS_HSCROLL | WS_VSCROLL))
        scroll_bar::Draw(data, winsys::BorderInsets(data), surface, rect);
}

} // namespace

namespace winsys_internal {

void PaintWindow(HWND window, DrawSurface& surface, const CRect& area) {
    WindowData* data = winsys::Live(window);
    if (!data || !(data->style & WS_VISIBLE) || data->native)
        return;
    const CPoint origin = winsys::OriginInTopLevel(window);
    const CRect insets = winsys::Insets(*data);
    CRect outer(origin.x - insets.left, origin.y - insets.top,
                origin.x - insets.left + data->rect.Width(),
                origin.y - insets.top + data->rect.Height());
    CRect visible;
    if (!visible.IntersectRect(&outer, &area))
        return;
    if (data->parent) {
        surface.SetClip(visible);
        DrawNonClient(*data, surface, outer);
    }
    CRect client = winsys::ClientRect(window);
    client.OffsetRect(origin);
    CRect clip;
    if (!clip.IntersectRect(&client, &visible))
        return;
    Sys().painting.push_back({window, &surface, origin, clip});
    {
        CDC dc;
        dc.AttachSurface(&surface, origin, clip, &winsys::MetricsOf(window));
        winsys::Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
    }
    if (winsys::Live(window))
        winsys::Send(window, WM_PAINT);
    Sys().painting.pop_back();
    data = winsys::Live(window);
    if (!data)
        return;
    const std::vector<HWND> children = data->children;
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        PaintWindow(*it, surface, clip);
}

} // namespace winsys_internal

namespace winsys {

// ---- Painting ----

void Invalidate(HWND window, const CRect* rect) {
    WindowData* data = Live(window);
    if (!data || !IsVisible(window))
        return;
    WindowData* top = Live(TopLevelOf(window));
    if (!top || !top->peer)
        return;
    CRect area;
    if (rect) {
        area = *rect;
        area.OffsetRect(OriginInTopLevel(window));
    } else {
        const CRect insets = Insets(*data);
        area = CRect(-insets.left, -insets.top, data->rect.Width() - insets.left,
                     data->rect.Height() - insets.top);
        area.OffsetRect(OriginInTopLevel(window));
    }
    area.NormalizeRect();
    if (!area.IsRectEmpty())
        top->peer->Invalidate(area);
}

void Update(HWND window) {
    WindowData* top = Live(TopLevelOf(window));
    if (top && top->peer)
        top->peer->Update();
}

void PaintTopLevel(HWND topLevel, DrawSurface& surface, const CRect& area) {
    PaintWindow(topLevel, surface, area);
}

bool BeginPaint(HWND window, CDC& dc, CRect& paintRect) {
    auto& painting = Sys().painting;
    if (painting.empty() || painting.back().window != window)
        return false;
    const PaintContext& context = painting.back();
    dc.AttachSurface(context.surface, context.origin, context.clip, &MetricsOf(window));
    paintRect = context.clip;
    paintRect.OffsetRect(-context.origin.x, -context.origin.y);
    return true;
}

bool ClientDC(HWND window, CDC& dc, bool wholeWindow) {
    WindowData* data = Live(window);
    WindowData* top = Live(TopLevelOf(window));
    if (!data || !top || !top->peer)
        return false;
    std::unique_ptr<DrawSurface> surface = top->peer->ClientSurface();
    if (!surface)
        return false;
    CPoint origin = OriginInTopLevel(window);
    CRect clip = ClientRect(window);
    if (wholeWindow) {
        const CRect insets = Insets(*data);
        origin.Offset(-insets.left, -insets.top);
        clip = CRect(0, 0, data->rect.Width(), data->rect.Height());
    }
    clip.OffsetRect(origin);
    const CRect topClient = ClientRect(top);
    if (!IsVisible(window) || !clip.IntersectRect(&clip, &topClient))
        clip.SetRectEmpty();
    DrawSurface* raw = surface.get();
    dc.OwnSurface(std::move(surface));
    dc.AttachSurface(raw, origin, clip, &MetricsOf(window));
    return true;
}

std::vector<HWND> TopLevelWindows() {
    return Sys().topLevels;
}

std::size_t LiveWindowCount() {
    return Sys().live.Count();
}

} // namespace winsys
