// The scroll bars a window carries in its frame (WS_HSCROLL, WS_VSCROLL): their state, where
// their parts lie, the position a dragged thumb stands for, and how they look. A bar only reports
// what the person does with it (WM_HSCROLL, WM_VSCROLL); the window scrolls its contents itself
// and sets the bar's state to match. Layer-internal.
#pragma once

#include "platform/win_geometry.h"
#include "platform/win_types.h"

#include <optional>

class DrawSurface;
struct WindowData;

struct ScrollBarState {
    int min = 0;
    int max = 0;
    int page = 0; // positions one page spans
    int pos = 0;
    int trackPos = 0; // where the dragged thumb stands
    // The last position the thumb can take: a whole page still fits behind it.
    int Last() const;
    bool Scrolls() const { return Last() > min; }
};

namespace scroll_bar {

enum class Part { None, LineBack, PageBack, Thumb, PageForward, LineForward };

// In window coordinates: the window's outer rectangle has its top-left corner at 0, 0.
struct Layout {
    bool vertical = true;
    CRect bar;
    CRect back;    // the arrow towards the start
    CRect forward; // the arrow towards the end
    CRect thumb;   // empty when there is nothing to scroll or no room for a thumb
};

// `borders`: the window's edges without its bars.
Layout LayoutOf(const WindowData& window, const CRect& borders, int bar);
// The square between two bars, empty unless both show.
CRect Corner(const WindowData& window, const CRect& borders);
Part PartAt(const Layout& layout, CPoint windowPoint);
// Where `windowPoint` lies along the bar: the coordinate that grows towards its end.
long Along(const Layout& layout, CPoint windowPoint);
// The position that puts the thumb's leading edge at `edge` (along the bar, window coordinates).
int PositionForThumb(const Layout& layout, const ScrollBarState& state, long edge);
// Where a window asked `code` (WM_HSCROLL, WM_VSCROLL) moves the bar: `line` positions a line,
// the page a page, the thumb where it is dragged; within the bar's range. Nothing for a request
// that moves nothing (SB_ENDSCROLL).
std::optional<int> Target(const ScrollBarState& state, int code, int line);
// Draws the window's bars; `outer` is its outer rectangle on the surface.
void Draw(const WindowData& window, const CRect& borders, DrawSurface& surface, const CRect& outer);

} // namespace scroll_bar
