// The window layer's own state and the helpers its parts share. Layer-internal.
#pragma once

#include "platform/exceptions.h"
#include "platform/window_system.h"

#include <array>
#include <deque>
#include <functional>
#include <new>
#include <optional>
#include <set>
#include <unordered_set>
#include <vector>

namespace winsys_internal {

struct PaintContext {
    HWND window;
    DrawSurface* surface;
    CPoint origin;
    CRect clip;
};

// The windows alive now. The two found most recently are checked before the set: a list being
// filled asks about itself and its parent for every row and cell.
class LiveWindows {
public:
    bool Contains(WindowData* data) {
        if (data == m_recent[0] || data == m_recent[1])
            return true;
        if (!m_all.count(data))
            return false;
        m_recent[1] = m_recent[0];
        m_recent[0] = data;
        return true;
    }
    void Add(WindowData* data) { m_all.insert(data); }
    void Remove(WindowData* data) {
        m_all.erase(data);
        for (WindowData*& recent : m_recent)
            if (recent == data)
                recent = nullptr;
    }
    std::size_t Count() const { return m_all.size(); }

private:
    std::unordered_set<WindowData*> m_all;
    std::array<WindowData*, 2> m_recent{};
};

// A press on a scroll bar, followed until the button comes up.
struct ScrollTrack {
    HWND window = nullptr;
    int bar = SB_VERT;
    scroll_bar::Part part = scroll_bar::Part::None;
    long grab = 0; // a dragged thumb: where along it the pointer took hold
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT elapse;
    DWORD due;
    std::function<void()> action; // the layer's own timers act themselves; others get WM_TIMER
};

// The ids of the layer's own timers: the one that repeats a held scroll-bar arrow or track, and
// the one that runs an action deferred by the double-click time.
constexpr UINT_PTR kScrollRepeatTimer = ~UINT_PTR{0};
constexpr UINT_PTR kDeferredTimer = ~UINT_PTR{0} - 1;

struct System {
    LiveWindows live;
    std::vector<HWND> topLevels; // bottom of the z-order first
    HWND focus = nullptr;
    HWND capture = nullptr;
    CPoint cursor{0, 0};
    std::set<UINT> keysDown;
    std::deque<MSG> posted;
    std::vector<PaintContext> painting;
    std::optional<ScrollTrack> scrollTrack;
    std::vector<Timer> timers;
};

// The layer's state. Never destroyed: windows may still be torn down by static destructors at
// exit.
System& Sys();
// Sets the timer, or starts it afresh when its window already has one of its id. A window that
// is gone gets none.
void PutTimer(Timer timer);
// Frees a destroyed window once no dispatch to it is running any more.
void ReleaseIfDone(WindowData* data);
// A framework exception (or running out of memory) that leaves a handler ends with the message it
// interrupted, as the framework's own window procedure ends it: the user reads what went wrong
// (unless it was reported already), a window whose WM_CREATE failed is not created, and every
// other message answers 0. So a store error in a handler does not unwind through the backend's
// event loop; other exceptions are programming errors and do.
LRESULT HandlerFailed(const CException& error, UINT message);

// Runs the handler of `message` (or an action of the layer's own run in its place), ending a
// failure as HandlerFailed says.
template <class Handler> LRESULT RunHandler(UINT message, Handler&& handler) {
    try {
        return handler();
    } catch (const CException& error) {
        return HandlerFailed(error, message);
    } catch (const std::bad_alloc&) {
        return HandlerFailed(CMemoryException(), message);
    }
}

// Paints `window` (when shown) and its children where they meet `area` (top-level coordinates).
void PaintWindow(HWND window, DrawSurface& surface, const CRect& area);

} // namespace winsys_internal
