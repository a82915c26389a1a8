#include "platform/scroll_bar.h"

#include "platform/gdi.h"
#include "platform/win_messages.h"
#include "platform/win_styles.h"
#include "platform/window_backend.h"
#include "platform/window_system.h"

#include <algorithm>

int ScrollBarState::Last() const {
    return std::max(min, max - std::max(page, 1) + 1);
}

namespace scroll_bar {

namespace {

// The smallest thumb a person can still grab.
constexpr long kMinThumb = 8;

long Thickness(bool vertical) {
    return GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL);
}

// The part of the bar between its arrows, along the bar.
void Track(const Layout& layout, long& start, long& end) {
    start = layout.vertical ? layout.back.bottom : layout.back.right;
    end = layout.vertical ? layout.forward.top : layout.forward.left;
}

long ThumbLength(const Layout& layout, const ScrollBarState& state) {
    long start = 0;
    long end = 0;
    Track(layout, start, end);
    const long track = end - start;
    const long range = static_cast<long>(state.max) - state.min + 1;
    if (range <= 0)
        return track;
    return std::clamp(track * std::max(state.page, 1) / range, std::min(kMinThumb, track), track);
}

void RaisedBox(DrawSurface& surface, const CRect& box) {
    surface.FillRect(box, GetSysColor(COLOR_BTNFACE));
    surface.Edge(box, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    CRect inner = box;
    inner.DeflateRect(1, 1);
    surface.Edge(inner, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

// A small solid triangle pointing along the bar, to its start or to its end.
void Arrow(DrawSurface& surface, const CRect& box, bool vertical, bool forward, COLORREF color) {
    const CPoint centre = box.CenterPoint();
    const long middle = vertical ? centre.y : centre.x;
    constexpr int kRows = 4;
    for (int i = 0; i < kRows; ++i) {
        // Row i from the tip, 2i + 1 pixels wide.
        const long along = forward ? middle + 1 - i : middle - 2 + i;
        if (vertical)
            surface.FillRect(CRect(centre.x - i, along, centre.x + i + 1, along + 1), color);
        else
            surface.FillRect(CRect(along, centre.y - i, along + 1, centre.y + i + 1), color);
    }
}

} // namespace

Layout LayoutOf(const WindowData& window, const CRect& borders, int bar) {
    Layout layout;
    layout.vertical = bar == SB_VERT;
    const bool horizontalShown = window.style & WS_HSCROLL;
    const bool verticalShown = window.style & WS_VSCROLL;
    if (!(layout.vertical ? verticalShown : horizontalShown))
        return layout;
    const long width = window.rect.Width();
    const long height = window.rect.Height();
    const long across = Thickness(layout.vertical);
    if (layout.vertical) {
        const long bottom = height - borders.bottom - (horizontalShown ? Thickness(false) : 0);
        layout.bar =
            CRect(width - borders.right - across, borders.top, width - borders.right, bottom);
    } else {
        const long right = width - borders.right - (verticalShown ? Thickness(true) : 0);
        layout.bar =
            CRect(borders.left, height - borders.bottom - across, right, height - borders.bottom);
    }
    const CRect& b = layout.bar;
    // Arrows are square, and share a bar too short for two squares.
    if (layout.vertical) {
        const long arrow = std::min<long>(b.Width(), b.Height() / 2);
        layout.back = CRect(b.left, b.top, b.right, b.top + arrow);
        layout.forward = CRect(b.left, b.bottom - arrow, b.right, b.bottom);
    } else {
        const long arrow = std::min<long>(b.Height(), b.Width() / 2);
        layout.back = CRect(b.left, b.top, b.left + arrow, b.bottom);
        layout.forward = CRect(b.right - arrow, b.top, b.right, b.bottom);
    }
    const ScrollBarState& state = window.ScrollBar(bar);
    long start = 0;
    long end = 0;
    Track(layout, start, end);
    const long length = ThumbLength(layout, state);
    if (!state.Scrolls() || end - start < kMinThumb)
        return layout;
    const long room = end - start - length;
    const long span = static_cast<long>(state.Last()) - state.min;
    const long at = start + room * (std::clamp(state.pos, state.min, state.Last()) - state.min) /
                                std::max(span, 1L);
    layout.thumb = layout.vertical ? CRect(b.left, at, b.right, at + length)
                                   : CRect(at, b.top, at + length, b.bottom);
    return layout;
}

CRect Corner(const WindowData& window, const CRect& borders) {
    if ((window.style & (WS_HSCROLL | WS_VSCROLL)) != (WS_HSCROLL | WS_VSCROLL))
        return CRect();
    const long width = window.rect.Width();
    const long height = window.rect.Height();
    return CRect(width - borders.right - Thickness(true),
                 height - borders.bottom - Thickness(false), width - borders.right,
                 height - borders.bottom);
}

long Along(const Layout& layout, CPoint point) {
    return layout.vertical ? point.y : point.x;
}

Part PartAt(const Layout& layout, CPoint point) {
    if (!layout.bar.PtInRect(point))
        return Part::None;
    if (layout.back.PtInRect(point))
        return Part::LineBack;
    if (layout.forward.PtInRect(point))
        return Part::LineForward;
    if (layout.thumb.IsRectEmpty())
        return Part::None;
    if (layout.thumb.PtInRect(point))
        return Part::Thumb;
    return Along(layout, point) < Along(layout, layout.thumb.TopLeft()) ? Part::PageBack
                                                                        : Part::PageForward;
}

int PositionForThumb(const Layout& layout, const ScrollBarState& state, long edge) {
    long start = 0;
    long end = 0;
    Track(layout, start, end);
    const long room = end - start - ThumbLength(layout, state);
    if (room <= 0)
        return state.pos;
    const long span = static_cast<long>(state.Last()) - state.min;
    const long offset = std::clamp(edge - start, 0L, room);
    // To the nearest position.
    return state.min + static_cast<int>((offset * span + room / 2) / room);
}

std::optional<int> Target(const ScrollBarState& state, int code, int line) {
    int position = state.pos;
    switch (code) {
    case SB_LINEUP:
        position -= line;
        break;
    case SB_LINEDOWN:
        position += line;
        break;
    case SB_PAGEUP:
        position -= std::max(1, state.page);
        break;
    case SB_PAGEDOWN:
        position += std::max(1, state.page);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = state.trackPos;
        break;
    case SB_TOP:
        position = state.min;
        break;
    case SB_BOTTOM:
        position = state.Last();
        break;
    default:
        return std::nullopt;
    }
    return std::clamp(position, state.min, state.Last());
}

void Draw(const WindowData& window, const CRect& borders, DrawSurface& surface,
          const CRect& outer) {
    BrushPattern track;
    track.patterned = true;
    track.color = GetSysColor(COLOR_BTNHIGHLIGHT);
    track.background = GetSysColor(COLOR_BTNFACE);
    for (int i = 0; i < 8; ++i)
        track.rows[i] = i % 2 ? 0x55 : 0xAA;
    for (const int bar : {SB_HORZ, SB_VERT}) {
        Layout layout = LayoutOf(window, borders, bar);
        if (layout.bar.IsRectEmpty())
            continue;
        for (CRect* r : {&layout.bar, &layout.back, &layout.forward, &layout.thumb})
            if (!r->IsRectEmpty())
                r->OffsetRect(outer.TopLeft());
        surface.PatBlt(layout.bar, track, PATCOPY);
        const bool scrolls = window.ScrollBar(bar).Scrolls();
        const COLORREF glyph = GetSysColor(scrolls ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
        RaisedBox(surface, layout.back);
        Arrow(surface, layout.back, layout.vertical, false, glyph);
        RaisedBox(surface, layout.forward);
        Arrow(surface, layout.forward, layout.vertical, true, glyph);
        if (!layout.thumb.IsRectEmpty())
            RaisedBox(surface, layout.thumb);
    }
    CRect corner = Corner(window, borders);
    if (!corner.IsRectEmpty()) {
        corner.OffsetRect(outer.TopLeft());
        surface.FillRect(corner, GetSysColor(COLOR_BTNFACE));
    }
}

} // namespace scroll_bar
