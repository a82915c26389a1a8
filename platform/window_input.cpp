// The window layer: the focus, capture and keys, and input as a person gives it.
#include "platform/window_system.h"
#include "platform/window_system_internal.h"

#include "platform/user_notifier.h"
#include "platform/window.h"

#include <algorithm>

using namespace winsys_internal;

namespace winsys {

// ---- Focus, capture, keys ----

HWND Focus() {
    return Live(Sys().focus);
}

void DialogSetFocus(HWND control) {
    if (!Live(control))
        return;
    if (Send(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        Send(control, EM_SETSEL, 0, -1);
    if (Live(control))
        SetFocus(control);
}

void SetFocus(HWND window) {
    System& sys = Sys();
    WindowData* target = Live(window);
    HWND old = Live(sys.focus);
    if (target == old)
        return;
    sys.focus = target;
    if (old)
        Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(target));
    if (target && Live(target) && sys.focus == target) {
        if (target->native)
            target->native->SetFocus();
        Send(target, WM_SETFOCUS, reinterpret_cast<WPARAM>(old));
    }
}

HWND Capture() {
    return Live(Sys().capture);
}

void SetCapture(HWND window) {
    System& sys = Sys();
    HWND old = Live(sys.capture);
    WindowData* target = Live(window);
    if (old == target)
        return;
    sys.capture = target;
    if (WindowData* top = Live(TopLevelOf(target)); top && top->peer)
        top->peer->SetCapture(true);
    if (old)
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(target));
}

void ReleaseCapture() {
    System& sys = Sys();
    HWND old = Live(sys.capture);
    sys.capture = nullptr;
    if (!old)
        return;
    if (WindowData* top = Live(TopLevelOf(old)); top && top->peer)
        top->peer->SetCapture(false);
    Send(old, WM_CAPTURECHANGED, 0, 0);
}

CPoint CursorPos() {
    return Sys().cursor;
}
bool KeyDown(UINT virtualKey) {
    return Sys().keysDown.count(virtualKey) != 0;
}
void SetKeyDown(UINT virtualKey, bool down) {
    if (down)
        Sys().keysDown.insert(virtualKey);
    else
        Sys().keysDown.erase(virtualKey);
}

// ---- Input ----

namespace {

// Holds the modifier keys down for the duration of one injected event.
class ModifierScope {
public:
    explicit ModifierScope(UINT modifiers)
        : m_shift(KeyDown(VK_SHIFT)), m_control(KeyDown(VK_CONTROL)) {
        SetKeyDown(VK_SHIFT, modifiers & MK_SHIFT);
        SetKeyDown(VK_CONTROL, modifiers & MK_CONTROL);
    }
    ~ModifierScope() {
        SetKeyDown(VK_SHIFT, m_shift);
        SetKeyDown(VK_CONTROL, m_control);
    }
    ModifierScope(const ModifierScope&) = delete;
    ModifierScope& operator=(const ModifierScope&) = delete;

private:
    bool m_shift;
    bool m_control;
};

UINT MouseKeys() {
    UINT keys = 0;
    if (KeyDown(VK_LBUTTON))
        keys |= MK_LBUTTON;
    if (KeyDown(VK_RBUTTON))
        keys |= MK_RBUTTON;
    if (KeyDown(VK_SHIFT))
        keys |= MK_SHIFT;
    if (KeyDown(VK_CONTROL))
        keys |= MK_CONTROL;
    return keys;
}

// The window keyboard input goes to when nothing has the focus: the topmost enabled window.
HWND ActiveTopLevel() {
    auto& tops = Sys().topLevels;
    for (auto it = tops.rbegin(); it != tops.rend(); ++it)
        if (((*it)->style & WS_VISIBLE) && !((*it)->style & WS_DISABLED))
            return *it;
    return nullptr;
}

HWND FindChildById(HWND parent, UINT id) {
    WindowData* data = Live(parent);
    if (!data)
        return nullptr;
    for (HWND child : data->children)
        if (child->id == id)
            return child;
    return nullptr;
}

// Tab order: the dialog's children with WS_TABSTOP, visible and enabled, in creation order.
HWND NextTabStop(HWND dialog, HWND from, bool backwards) {
    WindowData* data = Live(dialog);
    if (!data)
        return nullptr;
    std::vector<HWND> stops;
    for (HWND child : data->children)
        if ((child->style & (WS_TABSTOP | WS_VISIBLE)) == (WS_TABSTOP | WS_VISIBLE) &&
            !(child->style & WS_DISABLED))
            stops.push_back(child);
    if (stops.empty())
        return nullptr;
    HWND current = from;
    while (current && current->parent != data)
        current = current->parent;
    auto it = std::find(stops.begin(), stops.end(), current);
    if (it == stops.end())
        return backwards ? stops.back() : stops.front();
    const std::size_t index = static_cast<std::size_t>(it - stops.begin());
    const std::size_t count = stops.size();
    return stops[backwards ? (index + count - 1) % count : (index + 1) % count];
}

} // namespace

namespace {

// Where `screenPoint` lies in `window`'s own coordinates (its outer rectangle at 0, 0).
CPoint WindowPoint(WindowData& window, CPoint screenPoint) {
    const CPoint client = ClientOrigin(&window);
    const CRect insets = Insets(window);
    return CPoint(screenPoint.x - client.x + insets.left, screenPoint.y - client.y + insets.top);
}

void SendScroll(HWND window, int bar, int code, int position = 0) {
    Send(window, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
         MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)), 0);
}

// What a press on an arrow or the track asks for at once; -1 for the thumb, which asks as it moves.
int PressCode(scroll_bar::Part part) {
    switch (part) {
    case scroll_bar::Part::LineBack:
        return SB_LINEUP;
    case scroll_bar::Part::LineForward:
        return SB_LINEDOWN;
    case scroll_bar::Part::PageBack:
        return SB_PAGEUP;
    case scroll_bar::Part::PageForward:
        return SB_PAGEDOWN;
    default:
        return -1;
    }
}

// Whether a press on an arrow or the track is held, so repeats are due.
bool ScrollBarHeld() {
    const std::optional<ScrollTrack>& track = Sys().scrollTrack;
    return track && PressCode(track->part) >= 0 && Live(track->window);
}

// One repeat of the held request. Off the part pressed the repeats pause; back on it, they go on.
void RepeatScrollBar() {
    if (!ScrollBarHeld())
        return;
    const ScrollTrack track = *Sys().scrollTrack;
    WindowData* data = Live(track.window);
    const scroll_bar::Layout layout = scroll_bar::LayoutOf(*data, BorderInsets(*data), track.bar);
    if (scroll_bar::PartAt(layout, WindowPoint(*data, Sys().cursor)) == track.part)
        SendScroll(track.window, track.bar, PressCode(track.part));
}

// A window with scroll bars, with a point in its own coordinates.
struct FramePoint {
    WindowData* data;
    CPoint point;
    CRect borders;
};

std::optional<FramePoint> FramePointOf(HWND window, CPoint screenPoint) {
    WindowData* data = Live(window);
    if (!data || !data->parent || !(data->style & (WS_HSCROLL | WS_VSCROLL)))
        return std::nullopt;
    return FramePoint{data, WindowPoint(*data, screenPoint), BorderInsets(*data)};
}

// Whether `screenPoint` lies on `window`'s scroll bars or the square between them.
bool OnScrollBars(HWND window, CPoint screenPoint) {
    const std::optional<FramePoint> at = FramePointOf(window, screenPoint);
    return at && (scroll_bar::LayoutOf(*at->data, at->borders, SB_VERT).bar.PtInRect(at->point) ||
                  scroll_bar::LayoutOf(*at->data, at->borders, SB_HORZ).bar.PtInRect(at->point) ||
                  scroll_bar::Corner(*at->data, at->borders).PtInRect(at->point));
}

// A press on `window`'s scroll bars: the bar scrolls and follows the button until it comes up.
// False when the press is elsewhere.
bool PressScrollBar(HWND window, CPoint screenPoint) {
    const std::optional<FramePoint> at = FramePointOf(window, screenPoint);
    if (!at)
        return false;
    WindowData* data = at->data;
    const CPoint point = at->point;
    const CRect borders = at->borders;
    for (const int bar : {SB_VERT, SB_HORZ}) {
        const scroll_bar::Layout layout = scroll_bar::LayoutOf(*data, borders, bar);
        if (!layout.bar.PtInRect(point))
            continue;
        const scroll_bar::Part part = scroll_bar::PartAt(layout, point);
        ScrollTrack track{window, bar, part, 0};
        ScrollBarState& state = data->ScrollBar(bar);
        if (part == scroll_bar::Part::Thumb) {
            track.grab = scroll_bar::Along(layout, point) -
                         scroll_bar::Along(layout, layout.thumb.TopLeft());
            state.trackPos = state.pos;
        } else if (const int code = PressCode(part); code >= 0) {
            SendScroll(window, bar, code);
            PutTimer({window, kScrollRepeatTimer, kScrollRepeatInterval,
                      CurrentWindowBackend().TickCount() + kScrollRepeatDelay, RepeatScrollBar});
        }
        Sys().scrollTrack = track;
        return true;
    }
    // The square between the bars takes the press and does nothing.
    return scroll_bar::Corner(*data, borders).PtInRect(point) != FALSE;
}

void FollowScrollBar(MouseAction action, CPoint screenPoint) {
    System& sys = Sys();
    const ScrollTrack track = *sys.scrollTrack;
    WindowData* data = Live(track.window);
    if (!data) {
        sys.scrollTrack.reset();
        return;
    }
    const bool release = action == MouseAction::LeftUp;
    if (release) {
        sys.scrollTrack.reset();
        KillTimer(track.window, kScrollRepeatTimer);
    }
    if (track.part != scroll_bar::Part::Thumb) {
        if (release)
            SendScroll(track.window, track.bar, SB_ENDSCROLL);
        return;
    }
    ScrollBarState& state = data->ScrollBar(track.bar);
    if (action == MouseAction::Move) {
        const scroll_bar::Layout layout =
            scroll_bar::LayoutOf(*data, BorderInsets(*data), track.bar);
        const long along = scroll_bar::Along(layout, WindowPoint(*data, screenPoint));
        const int position = scroll_bar::PositionForThumb(layout, state, along - track.grab);
        if (position != state.trackPos) {
            state.trackPos = position;
            SendScroll(track.window, track.bar, SB_THUMBTRACK, position);
        }
    } else if (release) {
        SendScroll(track.window, track.bar, SB_THUMBPOSITION, state.trackPos);
        if (Live(track.window))
            SendScroll(track.window, track.bar, SB_ENDSCROLL);
    }
}

} // namespace

DWORD NeededScrollBars(HWND window, const std::function<CSize()>& contentSize) {
    WindowData* data = Live(window);
    if (!data)
        return 0;
    const DWORD style = data->style;
    DWORD bars = 0;
    for (;;) {
        data->style = (style & ~(WS_HSCROLL | WS_VSCROLL)) | bars;
        const CSize content = contentSize();
        const CRect client = ClientRect(window);
        DWORD needed = bars;
        if (content.cx > client.Width())
            needed |= WS_HSCROLL;
        if (content.cy > client.Height())
            needed |= WS_VSCROLL;
        if (needed == bars)
            break;
        bars = needed;
    }
    data->style = style;
    return bars;
}

void ShowScrollBars(HWND window, DWORD bars) {
    WindowData* data = Live(window);
    if (!data || !data->parent)
        return;
    bars &= WS_HSCROLL | WS_VSCROLL;
    if ((data->style & (WS_HSCROLL | WS_VSCROLL)) == bars)
        return;
    const CRect before = ClientRect(window);
    data->style = (data->style & ~(WS_HSCROLL | WS_VSCROLL)) | bars;
    Invalidate(window, nullptr);
    const CRect after = ClientRect(window);
    if (after != before)
        Send(window, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(after.Width()), static_cast<WORD>(after.Height())));
}

void SetScrollState(HWND window, int bar, const ScrollBarState& state) {
    WindowData* data = Live(window);
    if (!data)
        return;
    ScrollBarState& held = data->ScrollBar(bar);
    const bool same = held.min == state.min && held.max == state.max && held.page == state.page &&
                      held.pos == state.pos;
    const int trackPos = held.trackPos;
    held = state;
    // A thumb being dragged stays where the pointer holds it.
    const bool dragging =
        Sys().scrollTrack && Sys().scrollTrack->window == data && Sys().scrollTrack->bar == bar;
    held.trackPos = dragging ? trackPos : state.pos;
    if (!same && (data->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)))
        Invalidate(window, nullptr);
}

ScrollBarState ScrollState(HWND window, int bar) {
    WindowData* data = Live(window);
    return data ? data->ScrollBar(bar) : ScrollBarState();
}

void InjectMouse(MouseAction action, CPoint screenPoint, UINT modifiers) {
    ModifierScope modifierScope(modifiers);
    System& sys = Sys();
    sys.cursor = screenPoint;
    if (sys.scrollTrack) {
        if (action == MouseAction::LeftUp)
            SetKeyDown(VK_LBUTTON, false);
        FollowScrollBar(action, screenPoint);
        return;
    }
    UINT message = WM_MOUSEMOVE;
    switch (action) {
    case MouseAction::Move:
        break;
    case MouseAction::LeftDown:
        SetKeyDown(VK_LBUTTON, true);
        message = WM_LBUTTONDOWN;
        break;
    case MouseAction::LeftDoubleClick:
        SetKeyDown(VK_LBUTTON, true);
        message = WM_LBUTTONDBLCLK;
        break;
    case MouseAction::LeftUp:
        SetKeyDown(VK_LBUTTON, false);
        message = WM_LBUTTONUP;
        break;
    case MouseAction::RightDown:
        SetKeyDown(VK_RBUTTON, true);
        message = WM_RBUTTONDOWN;
        break;
    case MouseAction::RightUp:
        SetKeyDown(VK_RBUTTON, false);
        message = WM_RBUTTONUP;
        break;
    }
    HWND target = Capture();
    if (!target) {
        target = WindowFromPoint(screenPoint);
        if (!target)
            return;
        Send(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
             MAKELPARAM(static_cast<WORD>(HTCLIENT), static_cast<WORD>(message)));
        if (!Live(target))
            return;
        if ((action == MouseAction::LeftDown || action == MouseAction::LeftDoubleClick) &&
            PressScrollBar(target, screenPoint))
            return;
        // The right button does nothing on a bar; the window's own menu is for its contents.
        if ((action == MouseAction::RightDown || action == MouseAction::RightUp) &&
            OnScrollBars(target, screenPoint))
            return;
    }
    const CPoint origin = ClientOrigin(target);
    Send(target, message, MouseKeys(),
         MAKEPOINTLPARAM(screenPoint.x - origin.x, screenPoint.y - origin.y));
}

void InjectWheel(CPoint screenPoint, int delta, UINT modifiers, WheelAxis axis) {
    ModifierScope modifierScope(modifiers);
    Sys().cursor = screenPoint;
    // The window under the pointer turns, as desktops do now, not the one with the focus; a
    // window holding the mouse keeps it.
    HWND target = Capture();
    if (!target)
        target = WindowFromPoint(screenPoint);
    if (!target || delta == 0)
        return;
    Send(target, axis == WheelAxis::Sideways ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL,
         MAKEWPARAM(static_cast<WORD>(MouseKeys()), static_cast<WORD>(delta)),
         MAKEPOINTLPARAM(screenPoint.x, screenPoint.y));
}

void InjectKey(UINT virtualKey, UINT modifiers) {
    ModifierScope modifierScope(modifiers);
    HWND focus = Focus();
    if (!focus)
        focus = ActiveTopLevel();
    if (!focus)
        return;
    HWND top = TopLevelOf(focus);
    // The dialog's keyboard interface first, unless the control wants the key itself.
    if (top && top->kind == WindowKind::Dialog) {
        const UINT code = static_cast<UINT>(Send(focus, WM_GETDLGCODE, virtualKey, 0));
        if (!Live(focus))
            return;
        const bool wantsAll = code & DLGC_WANTALLKEYS;
        if (virtualKey == VK_RETURN && !wantsAll) {
            UINT id = IDOK;
            if (focus != top && focus->kind == WindowKind::Button &&
                (focus->style & 0x0F) <= BS_DEFPUSHBUTTON)
                id = focus->id;
            else if (const LRESULT def = Send(top, DM_GETDEFID); HIWORD(def) == DC_HASDEFID)
                id = LOWORD(def);
            HWND button = FindChildById(top, id);
            if (button && (button->style & WS_DISABLED)) {
                MessageBeep(0);
                return;
            }
            Send(top, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
            return;
        }
        if (virtualKey == VK_ESCAPE && !wantsAll) {
            Send(top, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(FindChildById(top, IDCANCEL)));
            return;
        }
        if (virtualKey == VK_TAB && !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
            if (HWND next = NextTabStop(top, focus, modifiers & MK_SHIFT))
                DialogSetFocus(next);
            return;
        }
    }
    SetKeyDown(virtualKey, true);
    Send(focus, WM_KEYDOWN, virtualKey, 1);
    SetKeyDown(virtualKey, false);
    if (Live(focus))
        Send(focus, WM_KEYUP, virtualKey, 1);
}

void InjectChar(unsigned ch) {
    HWND focus = Focus();
    if (focus)
        Send(focus, WM_CHAR, ch, 1);
}

} // namespace winsys
