// The window layer: windows' lifetime and their messages.
#include "platform/window_system.h"
#include "platform/window_system_internal.h"

#include "platform/app.h"
#include "platform/control_classes.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/list_ctrl.h"
#include "platform/toolbar_ctrl.h"
#include "platform/tree_ctrl.h"
#include "platform/window.h"

#include <algorithm>

namespace winsys_internal {

System& Sys() {
    static System* system = new System;
    return *system;
}

void ReleaseIfDone(WindowData* data) {
    if (data->destroyed && data->dispatching.empty())
        delete data;
}

LRESULT HandlerFailed(const CException& error, UINT message) {
    if (!dynamic_cast<const CUserException*>(&error))
        error.ReportError(MB_ICONEXCLAMATION);
    return message == WM_CREATE ? -1 : 0;
}

} // namespace winsys_internal

using namespace winsys_internal;

namespace {

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

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowData* data = Live(window);
    if (!data)
        return 0;
    CWnd* object = ObjectOf(data);
    DispatchGuard guard(data, message, wParam, lParam);
    return RunHandler(message, [&] { return object->WindowProc(message, wParam, lParam); });
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
    case WM_MOUSEHWHEEL:
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

} // namespace winsys
