// The window system under the MFC-shaped classes: window records, message dispatch, focus,
// capture, input, painting. Layer-internal: backends use it, subsystem code does not.
#pragma once

#include "platform/cstring.h"
#include "platform/font_metrics.h"
#include "platform/scroll_bar.h"
#include "platform/win_geometry.h"
#include "platform/win_messages.h"
#include "platform/window_backend.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CWnd;
class CDC;
class ListView;
class TreeView;

enum class WindowKind { Generic, Dialog, Button, Edit, Static, TreeView, ListView, ToolBar };

// The behaviour and state of one window's class: what its window procedure does with a message
// that the message map left to the default.
class WindowClass {
public:
    virtual ~WindowClass() = default;
    virtual LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Called once the window is gone from the window tree (its children are gone too).
    virtual void Destroyed(HWND) {}
    // The cursor shown over the client area.
    virtual HCURSOR ClassCursor() const;
    // The common controls' own state, found without a type query on every control call.
    virtual ListView* AsListView() { return nullptr; }
    virtual TreeView* AsTreeView() { return nullptr; }
};

struct WindowData {
    WindowKind kind = WindowKind::Generic;
    UINT id = 0;
    HWND parent = nullptr;      // null for top-level windows
    HWND owner = nullptr;       // top-level windows: the window they belong to
    std::vector<HWND> children; // top of the z-order first
    CRect rect;                 // window rectangle: parent client coordinates, screen for top-level
    DWORD style = 0;
    DWORD exStyle = 0;
    CString text;
    const FontMetrics* metrics = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    CWnd* permanent = nullptr;
    std::unique_ptr<CWnd> temporary;
    std::unique_ptr<WindowClass> cls;
    std::unique_ptr<TopLevelPeer> peer;
    std::unique_ptr<NativeControl> native;
    // Messages being dispatched to the window, innermost last (for CWnd::Default).
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> dispatching;
    bool destroyed = false;
    // The frame's scroll bars (shown by WS_HSCROLL, WS_VSCROLL), by SB_HORZ or SB_VERT.
    ScrollBarState scrollBars[2];
    ScrollBarState& ScrollBar(int bar) { return scrollBars[bar == SB_VERT ? 1 : 0]; }
    const ScrollBarState& ScrollBar(int bar) const { return scrollBars[bar == SB_VERT ? 1 : 0]; }
};

namespace winsys {

// The window behind `window`, or null when it is not a live window.
WindowData* Live(HWND window);

struct CreateParams {
    WindowKind kind = WindowKind::Generic;
    DWORD exStyle = 0;
    const char* text = nullptr;
    DWORD style = 0;
    CRect rect;
    HWND parent = nullptr; // for WS_CHILD windows
    HWND owner = nullptr;  // for top-level windows
    UINT id = 0;
    const FontMetrics* metrics = nullptr; // inherited from the parent when null
    CWnd* object = nullptr;               // the permanent object, attached before WM_CREATE
};
// Creates the window with the class behaviour of its kind (null when the parent is not live).
HWND Create(const CreateParams& params);
// Creates a window with a behaviour given by the caller.
HWND Create(const CreateParams& params, std::unique_ptr<WindowClass> cls);
// Destroys the window and its children: WM_DESTROY to each, permanent objects detached.
void Destroy(HWND window);

// The object messages of `window` go to (the permanent one or a temporary of its kind).
CWnd* ObjectOf(HWND window);
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Delivers the posted messages (also those posted meanwhile); false when there were none.
bool DispatchPosted();
// The window class's own procedure (and the generic default behind it).
LRESULT ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Sends WM_NOTIFY with `header` (hwndFrom, idFrom filled in) to the window's parent.
LRESULT Notify(HWND window, NMHDR& header, UINT code);
// Sends WM_COMMAND with `code` to the window's parent.
void CommandToParent(HWND window, UINT code);

// ---- Geometry ----
HWND TopLevelOf(HWND window);
bool IsVisible(HWND window); // the window and all its parents are visible
// Thickness of the non-client area on each side.
CRect Insets(const WindowData& window);
// The same without the scroll bars: the frame's edges only.
CRect BorderInsets(const WindowData& window);
CRect ClientRect(HWND window); // (0, 0, width, height) of the client area
// Screen position of the client area's top-left corner.
CPoint ClientOrigin(HWND window);
// Position of the window's client origin in its top-level window's client coordinates.
CPoint OriginInTopLevel(HWND window);
// Deepest visible child (or the top-level window itself) under a screen point, among windows
// that take input.
HWND WindowFromPoint(CPoint screenPoint);
// Moves/sizes: WM_SIZE and repaint as Win32 does.
void SetWindowRect(HWND window, const CRect& rect, bool repaint);
void SetVisible(HWND window, bool visible);
void SetStyle(HWND window, DWORD style, DWORD exStyle);
void SetText(HWND window, const CString& text);
const FontMetrics& MetricsOf(HWND window);

// ---- Focus, capture, keys, pointer ----
HWND Focus();
void SetFocus(HWND window);
// Focus moved by the dialog manager (Tab, GotoDlgCtrl): a control that takes selections, such as
// an edit, has all its text selected first, so that typing replaces it.
void DialogSetFocus(HWND control);
HWND Capture();
void SetCapture(HWND window);
void ReleaseCapture();
// The mouse captured for `window` while this lives (a drag from button down to up); released
// at its end unless another window took it meanwhile.
class ScopedCapture {
public:
    explicit ScopedCapture(HWND window) : m_window(window) { SetCapture(window); }
    ~ScopedCapture() {
        if (Capture() == m_window)
            ReleaseCapture();
    }
    ScopedCapture(const ScopedCapture&) = delete;
    ScopedCapture& operator=(const ScopedCapture&) = delete;

private:
    HWND m_window;
};
CPoint CursorPos();
bool KeyDown(UINT virtualKey);
void SetKeyDown(UINT virtualKey, bool down);

// ---- Input, as a person gives it (screen coordinates) ----
enum class MouseAction { Move, LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp };
void InjectMouse(MouseAction action, CPoint screenPoint, UINT modifiers);
enum class WheelAxis { Vertical, Sideways };
// A turn of the wheel (WHEEL_DELTA per notch; away from the user, or to the right, positive) with
// the pointer at `screenPoint`: WM_MOUSEWHEEL, or WM_MOUSEHWHEEL sideways, to the window under the
// pointer, which hands it to its parent when it has no use for it.
void InjectWheel(CPoint screenPoint, int delta, UINT modifiers,
                 WheelAxis axis = WheelAxis::Vertical);
void InjectKey(UINT virtualKey, UINT modifiers);
void InjectChar(unsigned ch);
// An action that waits for the double-click time (a slow click on a selected label), one per
// window: a newer one takes the older's place. Runs by the layer's timers.
void Defer(HWND window, std::function<void()> action);
void CancelDeferred(HWND window);

// ---- Scroll bars in the frame ----
// The bars (WS_HSCROLL, WS_VSCROLL) contents of `contentSize()` need in `window`. It is asked once
// for each set of bars tried, as contents may be laid out by the client area. A bar only takes
// room, so bars are added until the contents need no more.
DWORD NeededScrollBars(HWND window, const std::function<CSize()>& contentSize);
// Shows exactly the bars in `bars` (WS_HSCROLL, WS_VSCROLL). The client area shrinks or grows
// with them; the window hears WM_SIZE when it did.
void ShowScrollBars(HWND window, DWORD bars);
// SB_HORZ or SB_VERT; the bar is repainted when its state changed.
void SetScrollState(HWND window, int bar, const ScrollBarState& state);
ScrollBarState ScrollState(HWND window, int bar);
// An arrow or the track held down repeats its request (by a timer of the layer's own): first after
// kScrollRepeatDelay, then every kScrollRepeatInterval milliseconds, as long as the pointer stays
// on the part pressed (a page request stops once the thumb reaches the pointer).
constexpr UINT kScrollRepeatDelay = 300;
constexpr UINT kScrollRepeatInterval = 50;

// ---- Timers ----
// WM_TIMER (wParam: the id) to `window` every `elapse` milliseconds of the backend's clock
// (GetTickCount), from now on until killed or the window is destroyed; the same id again starts
// it afresh. Shorter than 10 milliseconds counts as 10. The backend delivers them (headless: as
// the script lets time pass).
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse);
bool KillTimer(HWND window, UINT_PTR id);
// When the next timer falls due, if one is set.
std::optional<DWORD> NextTimerDue();
// Sends WM_TIMER for each timer due at `now` (once each, however late) and sets its next time.
void RunDueTimers(DWORD now);

// ---- Painting ----
// Client-coordinate rectangle of `window` (null: all of it) needs painting.
void Invalidate(HWND window, const CRect* rect);
void Update(HWND window);
// Paints the windows of a top-level window that intersect `area` (its client coordinates).
void PaintTopLevel(HWND topLevel, DrawSurface& surface, const CRect& area);
// The device context of the WM_PAINT `window` is handling (BeginPaint); null outside.
bool BeginPaint(HWND window, CDC& dc, CRect& paintRect);
// A context on the window's client area outside painting (surface owned by the context).
bool ClientDC(HWND window, CDC& dc, bool wholeWindow);

// A window the layer is about to run a modal loop for; the loop's bookkeeping.
std::vector<HWND> TopLevelWindows();

// Windows live now (for leak checks in tests).
std::size_t LiveWindowCount();

} // namespace winsys
