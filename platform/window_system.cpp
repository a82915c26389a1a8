#include "platform/window_system.h"
#include "platform/user_notifier.h"

#include "platform/app.h"
#include "platform/control_classes.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/gdi.h"
#include "platform/list_ctrl.h"
#include "platform/toolbar_ctrl.h"
#include "platform/tree_ctrl.h"
#include "platform/window.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <new>
#include <optional>
#include <set>
#include <unordered_set>

namespace {

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

// Never destroyed: windows may still be torn down by static destructors at exit.
System& Sys() {
    static System* system = new System;
    return *system;
}

// Sets the timer, or starts it afresh when its window already has one of its id. A window that
// is gone gets none.
void PutTimer(Timer timer) {
    if (!winsys::Live(timer.window))
        return;
    std::vector<Timer>& timers = Sys().timers;
    auto found = std::find_if(timers.begin(), timers.end(), [&](const Timer& other) {
        return other.window == timer.window && other.id == timer.id;
    });
    if (found == timers.end())
        timers.push_back(std::move(timer));
    else
        *found = std::move(timer);
    CurrentWindowBackend().TimersChanged();
}

// Frees a destroyed window once no dispatch to it is running any more.
void ReleaseIfDone(WindowData* data) {
    if (data->destroyed && data->dispatching.empty())
        delete data;
}

struct DispatchGuard {
    WindowData* data;
    DispatchGuard(WindowData* d, UINT message, WPARAM wParam, LPARAM lParam) : data(d) {
        data->dispatching.push_back({message, wParam, lParam});
    }
    ~DispatchGuard() {
        data->dispatching.pop_back();
        ReleaseIfDone(data);
    }
    DispatchGuard(const DispatchGuard&) = delete;
    DispatchGuard& operator=(const DispatchGuard&) = delete;
};

std::unique_ptr<CWnd> MakeTemporary(WindowKind kind) {
    switch (kind) {
    case WindowKind::Button:
        return std::make_unique<CButton>();
    case WindowKind::Edit:
        return std::make_unique<CEdit>();
    case WindowKind::Static:
        return std::make_unique<CStatic>();
    case WindowKind::TreeView:
        return std::make_unique<CTreeCtrl>();
    case WindowKind::ListView:
        return std::make_unique<CListCtrl>();
    case WindowKind::ToolBar:
        return std::make_unique<CToolBarCtrl>();
    default:
        return std::make_unique<CWnd>();
    }
}

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

} // namespace

LRESULT WindowClass::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return winsys::DefaultProc(window, message, wParam, lParam);
}

HCURSOR WindowClass::ClassCursor() const {
    return LoadCursor(nullptr, IDC_ARROW);
}

namespace winsys {

WindowData* Live(HWND window) {
    if (!window)
        return nullptr;
    return Sys().live.Contains(window) ? window : nullptr;
}

HWND Create(const CreateParams& params) {
    return Create(params, MakeWindowClass(params.kind));
}

HWND Create(const CreateParams& params, std::unique_ptr<WindowClass> cls) {
    WindowData* parent = nullptr;
    if (params.style & WS_CHILD) {
        parent = Live(params.parent);
        if (!parent)
            return nullptr;
    }
    auto* data = new WindowData;
    data->kind = params.kind;
    data->id = params.id;
    data->parent = parent;
    data->owner = parent ? nullptr : Live(params.owner);
    data->rect = params.rect;
    data->style = params.style;
    data->exStyle = params.exStyle;
    data->text = params.text ? params.text : "";
    data->metrics = params.metrics ? params.metrics : (parent ? parent->metrics : nullptr);
    data->cls = std::move(cls);
    Sys().live.Add(data);
    if (params.object) {
        data->permanent = params.object;
        params.object->m_hWnd = data;
    }
    WindowBackend& backend = CurrentWindowBackend();
    if (parent) {
        parent->children.push_back(data);
        data->native = backend.CreateNativeControl(data);
        if (data->native) {
            CRect bounds = data->rect;
            bounds.OffsetRect(OriginInTopLevel(parent));
            data->native->SetBounds(bounds);
            data->native->SetVisible(IsVisible(data));
        }
    } else {
        Sys().topLevels.push_back(data);
        data->peer = backend.CreateTopLevel(data);
        data->peer->SetTitle(data->text);
        data->peer->SetWindowRect(data->rect);
    }
    if (Send(data, WM_CREATE) == -1 && Live(data)) // the window refused to be created
        Destroy(data);
    if (Live(data)) {
        const CRect client = ClientRect(data);
        Send(data, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(client.Width()), static_cast<WORD>(client.Height())));
    }
    if (!Live(data))
        return nullptr;
    if (data->peer && (data->style & WS_VISIBLE))
        data->peer->Show(true);
    Invalidate(data, nullptr);
    return data;
}

void Destroy(HWND window) {
    WindowData* data = Live(window);
    if (!data || data->destroyed)
        return;
    data->destroyed = true;
    // The window stays valid through WM_DESTROY and is freed once no dispatch to it runs.
    DispatchGuard keep(data, WM_NULL, 0, 0);
    Send(data, WM_DESTROY);
    const std::vector<HWND> children = data->children;
    for (HWND child : children)
        Destroy(child);
    System& sys = Sys();
    if (sys.focus == data)
        sys.focus = nullptr;
    if (sys.scrollTrack && sys.scrollTrack->window == data)
        sys.scrollTrack.reset();
    std::erase_if(sys.timers, [&](const Timer& timer) { return timer.window == data; });
    if (sys.capture == data) {
        sys.capture = nullptr;
        if (WindowData* top = Live(TopLevelOf(data)); top && top->peer)
            top->peer->SetCapture(false);
    }
    if (data->parent && Live(data->parent)) {
        if (data->style & WS_VISIBLE) {
            CRect rect = data->rect;
            Invalidate(data->parent, &rect);
        }
        auto& siblings = data->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), data), siblings.end());
    }
    auto& tops = sys.topLevels;
    tops.erase(std::remove(tops.begin(), tops.end(), data), tops.end());
    for (WindowData* other : tops)
        if (other->owner == data)
            other->owner = nullptr;
    data->cls->Destroyed(data);
    data->native.reset();
    data->peer.reset();
    sys.live.Remove(data);
    if (data->temporary)
        data->temporary->m_hWnd = nullptr;
    if (CWnd* permanent = data->permanent) {
        data->permanent = nullptr;
        permanent->m_hWnd = nullptr;
        permanent->PostNcDestroy();
    }
}

CWnd* ObjectOf(HWND window) {
    WindowData* data = Live(window);
    if (!data)
        return nullptr;
    if (data->permanent)
        return data->permanent;
    if (!data->temporary) {
        data->temporary = MakeTemporary(data->kind);
        data->temporary->m_hWnd = data;
    }
    return data->temporary.get();
}

namespace {
// A framework exception (or running out of memory) that leaves a handler ends with the message it
// interrupted, as the framework's own window procedure ends it: the user reads what went wrong
// (unless it was reported already), a window whose WM_CREATE failed is not created, and every
// other message answers 0. So a store error in a handler does not unwind through the backend's
// event loop; other exceptions are programming errors and do.
LRESULT HandlerFailed(const CException& error, UINT message) {
    if (!dynamic_cast<const CUserException*>(&error))
        error.ReportError(MB_ICONEXCLAMATION);
    return message == WM_CREATE ? -1 : 0;
}
} // namespace

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowData* data = Live(window);
    if (!data)
        return 0;
    CWnd* object = ObjectOf(data);
    DispatchGuard guard(data, message, wParam, lParam);
    try {
        return object->WindowProc(message, wParam, lParam);
    } catch (const CException& error) {
        return HandlerFailed(error, message);
    } catch (const std::bad_alloc&) {
        return HandlerFailed(CMemoryException(), message);
    }
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Sys().posted.push_back({window, message, wParam, lParam, 0, {0, 0}});
    CurrentWindowBackend().MessagePosted();
}

bool DispatchPosted() {
    bool any = false;
    auto& posted = Sys().posted;
    while (!posted.empty()) {
        const MSG msg = posted.front();
        posted.pop_front();
        any = true;
        if (Live(msg.hwnd))
            Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
    return any;
}

LRESULT ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowData* data = Live(window);
    if (!data)
        return 0;
    return data->cls->Proc(window, message, wParam, lParam);
}

LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowData* data = Live(window);
    if (!data)
        return 0;
    switch (message) {
    case WM_SETCURSOR: {
        // The parent decides first; otherwise the class cursor of the window under the pointer.
        if (data->parent && Send(data->parent, WM_SETCURSOR, wParam, lParam))
            return TRUE;
        if (static_cast<SHORT>(LOWORD(lParam)) == HTCLIENT) {
            if (WindowData* under = Live(reinterpret_cast<HWND>(wParam))) {
                ::SetCursor(under->cls->ClassCursor());
                return TRUE;
            }
        }
        return FALSE;
    }
    case WM_ERASEBKGND: {
        CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
        if (!dc)
            return FALSE;
        CRect client = ClientRect(window);
        dc->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_PAINT: {
        CWnd* object = ObjectOf(window);
        CPaintDC dc(object);
        return 0;
    }
    case WM_CLOSE:
        Destroy(window);
        return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL: // a window that does not scroll lets its parent have the turn
        if (data->parent)
            return Send(data->parent, message, wParam, lParam);
        return 0;
    case WM_CANCELMODE:
        if (Sys().capture == window)
            ReleaseCapture();
        return 0;
    case WM_SETTEXT:
        SetText(window, CString(reinterpret_cast<const char*>(lParam)));
        return TRUE;
    case WM_GETTEXTLENGTH:
        return data->text.GetLength();
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<char*>(lParam);
        const int max = static_cast<int>(wParam);
        if (!buffer || max <= 0)
            return 0;
        const int count = std::min(max - 1, data->text.GetLength());
        std::copy_n(data->text.c_str(), count, buffer);
        buffer[count] = '\0';
        return count;
    }
    case WM_SETICON: {
        HICON& slot = wParam == ICON_BIG ? data->bigIcon : data->smallIcon;
        HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        if (data->peer && wParam == ICON_BIG)
            data->peer->SetIcon(slot);
        return reinterpret_cast<LRESULT>(previous);
    }
    default:
        return 0;
    }
}

LRESULT Notify(HWND window, NMHDR& header, UINT code) {
    WindowData* data = Live(window);
    if (!data || !data->parent)
        return 0;
    header.hwndFrom = window;
    header.idFrom = data->id;
    header.code = code;
    return Send(data->parent, WM_NOTIFY, data->id, reinterpret_cast<LPARAM>(&header));
}

void CommandToParent(HWND window, UINT code) {
    WindowData* data = Live(window);
    if (!data || !data->parent)
        return;
    Send(data->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(data->id), static_cast<WORD>(code)),
         reinterpret_cast<LPARAM>(window));
}

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

// ---- Focus, capture, keys ----

HWND Focus() {
    return Live(Sys().focus);
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

void InjectWheel(CPoint screenPoint, int delta, UINT modifiers) {
    ModifierScope modifierScope(modifiers);
    Sys().cursor = screenPoint;
    // The window under the pointer turns, as desktops do now, not the one with the focus; a
    // window holding the mouse keeps it.
    HWND target = Capture();
    if (!target)
        target = WindowFromPoint(screenPoint);
    if (!target || delta == 0)
        return;
    Send(target, WM_MOUSEWHEEL,
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
                SetFocus(next);
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

void Defer(HWND window, std::function<void()> action) {
    // A one-shot timer of the layer's own; a newer action for the window takes the older's place.
    PutTimer({window, kDeferredTimer, GetDoubleClickTime(),
              CurrentWindowBackend().TickCount() + GetDoubleClickTime(),
              [window, action = std::move(action)] {
                  KillTimer(window, kDeferredTimer);
                  action();
              }});
}

void CancelDeferred(HWND window) {
    KillTimer(window, kDeferredTimer);
}

// ---- Timers ----

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse) {
    if (!Live(window))
        return 0;
    elapse = std::max<UINT>(elapse, 10);
    PutTimer({window, id, elapse, CurrentWindowBackend().TickCount() + elapse, {}});
    return id;
}

bool KillTimer(HWND window, UINT_PTR id) {
    const std::size_t removed = std::erase_if(
        Sys().timers, [&](const Timer& timer) { return timer.window == window && timer.id == id; });
    return removed > 0;
}

std::optional<DWORD> NextTimerDue() {
    std::optional<DWORD> next;
    for (const Timer& timer : Sys().timers)
        if (!next || static_cast<std::int32_t>(timer.due - *next) < 0)
            next = timer.due;
    return next;
}

void RunDueTimers(DWORD now) {
    std::vector<Timer>& timers = Sys().timers;
    std::erase_if(timers, [](const Timer& timer) { return !Live(timer.window); });
    // Collected first: a timer's window may set or kill timers while it handles its message.
    std::vector<Timer> due;
    for (Timer& timer : timers)
        if (static_cast<std::int32_t>(now - timer.due) >= 0) {
            timer.due = now + timer.elapse;
            due.push_back(timer);
        }
    for (const Timer& timer : due) {
        // One killed or set anew by an earlier handler of this round is not run.
        const bool stillSet = std::any_of(timers.begin(), timers.end(), [&](const Timer& other) {
            return other.window == timer.window && other.id == timer.id && other.due == timer.due;
        });
        if (!stillSet || !Live(timer.window))
            continue;
        if (timer.action) {
            // The layer's own action fails as a message handler does.
            try {
                timer.action();
            } catch (const CException& error) {
                HandlerFailed(error, WM_TIMER);
            } catch (const std::bad_alloc&) {
                HandlerFailed(CMemoryException(), WM_TIMER);
            }
        } else
            Send(timer.window, WM_TIMER, timer.id, 0);
    }
}

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
