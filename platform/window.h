// CWnd and the message maps: windows, their placement, text, focus, capture and painting, and
// the table-driven dispatch of messages and notifications to member functions.
#pragma once

#include "platform/commctrl.h"
#include "platform/cstring.h"
#include "platform/gdi.h"
#include "platform/win_geometry.h"
#include "platform/win_messages.h"
#include "platform/win_styles.h"

class CWnd;
class CRgn;
class CMenu;

// One message-map entry: the message, the notification or command code, the control id range,
// and a thunk that unpacks the parameters and calls the member function.
using AFX_PMSGTHUNK = BOOL (*)(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSGTHUNK pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

class CWnd : public CObject {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object attached to `window`: the permanent one (a subclass) or a temporary wrapper of
    // the window's class kept with the window.
    static CWnd* FromHandle(HWND window);
    static CWnd* FromHandlePermanent(HWND window);
    BOOL Attach(HWND window);
    HWND Detach();

    // Class names: WC_BUTTON, WC_EDIT, WC_STATIC, WC_TREEVIEW, WC_LISTVIEW, TOOLBARCLASSNAME, or
    // null for a plain window. A rectangle in the parent's client coordinates (screen
    // coordinates without a parent).
    BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id);
    BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    // Makes this object the window's permanent object: its message map sees the window's
    // messages first, the class's own behaviour follows through Default().
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT command) const;
    BOOL IsChild(const CWnd* window) const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL enable = TRUE);

    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const;
    void MapWindowPoints(CWnd* to, LPRECT rect) const;
    void CenterWindow(CWnd* alternateOwner = nullptr);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);

    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;

    void SetWindowText(LPCTSTR text);
    int GetWindowText(LPTSTR buffer, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, CString& text) const;

    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

    // The frame's scroll bars (SB_HORZ, SB_VERT), as their window last set them.
    BOOL GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask = SIF_ALL) const;
    int GetScrollPos(int bar) const;

    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;

    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();

    // WM_SETREDRAW: FALSE stops the window repainting itself on every change (while it is being
    // filled); TRUE lets it again and repaints it once.
    void SetRedraw(BOOL redraw = TRUE);
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT update = nullptr, CRgn* updateRegion = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // A context on the client area, to be given back with ReleaseDC.
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* dc);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

    // Insertion positions for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // Message dispatch: the map first, then the window class's own behaviour.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: the map's ON_COMMAND/ON_CONTROL entries; FALSE when nobody handled it.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: the map's ON_NOTIFY entries.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called after the window is gone.
    virtual void PostNcDestroy();

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

protected:
    // The class's own handling of the message being dispatched now.
    LRESULT Default();

    // Default handlers: each does what the window class does with the message.
    void OnSize(UINT type, int cx, int cy);
    void OnMove(int x, int y);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnCancelMode();
    void OnCaptureChanged(CWnd* window);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
    void OnChar(UINT ch, UINT repeatCount, UINT flags);
    void OnSetFocus(CWnd* oldWindow);
    void OnKillFocus(CWnd* newWindow);
    void OnContextMenu(CWnd* window, CPoint point);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnShowWindow(BOOL show, UINT status);
    void OnClose();
    void OnDestroy();
    UINT OnGetDlgCode();

private:
    friend struct WindowSystemAccess;
    explicit CWnd(HWND special);

    // The message-map entry for a message (WM_COMMAND and WM_NOTIFY also by code and control id),
    // or null. The last few answers are kept, as MFC keeps its message cache: a list filling
    // 100,000 rows notifies its parent of each, and the maps are searched entry by entry.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id, bool matchIds) const;
    struct MessageCacheSlot {
        // The map searched: a window being destroyed dispatches through its base's.
        const AFX_MSGMAP* map = nullptr;
        UINT message = 0;
        UINT code = 0;
        UINT id = 0;
        bool matchIds = false;
        const AFX_MSGMAP_ENTRY* entry = nullptr;
    };
    mutable MessageCacheSlot m_messageCache[8];
};

BOOL ReleaseCapture();
BOOL IsWindow(HWND window);
BOOL GetCursorPos(LPPOINT point);
// High bit set while the key is down (VK_SHIFT, VK_CONTROL, VK_LBUTTON, ...).
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
UINT GetDoubleClickTime();
DWORD GetTickCount();

// ---- Message-map macros ----

namespace afx_msgmap {

template <class T> T* Target(CWnd* window) {
    return static_cast<T*>(window);
}
inline CPoint PointOf(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

template <class T, auto Fn> BOOL Command(CWnd* w, UINT, WPARAM, LPARAM, LRESULT*) {
    (Target<T>(w)->*Fn)();
    return TRUE;
}
template <class T, auto Fn> BOOL CommandRange(CWnd* w, UINT, WPARAM wParam, LPARAM, LRESULT*) {
    (Target<T>(w)->*Fn)(LOWORD(wParam));
    return TRUE;
}
template <class T, auto Fn> BOOL Notify(CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT* result) {
    (Target<T>(w)->*Fn)(reinterpret_cast<NMHDR*>(lParam), result);
    return TRUE;
}
template <class T, auto Fn>
BOOL NotifyRange(CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    (Target<T>(w)->*Fn)(static_cast<UINT>(header->idFrom), header, result);
    return TRUE;
}
template <class T, auto Fn>
BOOL Message(CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = (Target<T>(w)->*Fn)(wParam, lParam);
    return TRUE;
}
template <class T, auto Fn> BOOL Void(CWnd* w, UINT, WPARAM, LPARAM, LRESULT*) {
    (Target<T>(w)->*Fn)();
    return TRUE;
}
template <class T, auto Fn> BOOL Size(CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return TRUE;
}
template <class T, auto Fn> BOOL Move(CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return TRUE;
}
template <class T, auto Fn> BOOL Mouse(CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(static_cast<UINT>(wParam), PointOf(lParam));
    return TRUE;
}
template <class T, auto Fn>
BOOL SetCursor(CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    *result = (Target<T>(w)->*Fn)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam),
                                  HIWORD(lParam));
    return TRUE;
}
template <class T, auto Fn> BOOL Key(CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return TRUE;
}
template <class T, auto Fn> BOOL Window(CWnd* w, UINT, WPARAM wParam, LPARAM, LRESULT*) {
    (Target<T>(w)->*Fn)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
    return TRUE;
}
template <class T, auto Fn> BOOL CaptureChanged(CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));
    return TRUE;
}
template <class T, auto Fn> BOOL EraseBkgnd(CWnd* w, UINT, WPARAM wParam, LPARAM, LRESULT* result) {
    *result = (Target<T>(w)->*Fn)(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return TRUE;
}
template <class T, auto Fn>
BOOL ContextMenu(CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), PointOf(lParam));
    return TRUE;
}
template <class T, auto Fn> BOOL MinMax(CWnd* w, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(reinterpret_cast<MINMAXINFO*>(lParam));
    return TRUE;
}
template <class T, auto Fn> BOOL ShowWindow(CWnd* w, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    (Target<T>(w)->*Fn)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    return TRUE;
}
template <class T, auto Fn> BOOL DlgCode(CWnd* w, UINT, WPARAM, LPARAM, LRESULT* result) {
    *result = (Target<T>(w)->*Fn)();
    return TRUE;
}

} // namespace afx_msgmap

// Leaves the class in the protected section, as MFC's does.
#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, 0, nullptr }                                                                        \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]};   \
    return &messageMap;                                                                            \
    }

#define AFX_MSGMAP_ENTRY_(message, code, id, lastId, thunk, fn)                                    \
    {(message), static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(lastId),         \
     &afx_msgmap::thunk<ThisClass, &ThisClass::fn>},

// void fn()
#define ON_COMMAND(id, fn) AFX_MSGMAP_ENTRY_(WM_COMMAND, 0, id, id, Command, fn)
// void fn(UINT id)
#define ON_COMMAND_RANGE(id, lastId, fn)                                                           \
    AFX_MSGMAP_ENTRY_(WM_COMMAND, 0, id, lastId, CommandRange, fn)
// void fn()
#define ON_CONTROL(code, id, fn) AFX_MSGMAP_ENTRY_(WM_COMMAND, code, id, id, Command, fn)
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
// void fn(NMHDR* notify, LRESULT* result)
#define ON_NOTIFY(code, id, fn) AFX_MSGMAP_ENTRY_(WM_NOTIFY, code, id, id, Notify, fn)
// void fn(UINT id, NMHDR* notify, LRESULT* result)
#define ON_NOTIFY_RANGE(code, id, lastId, fn)                                                      \
    AFX_MSGMAP_ENTRY_(WM_NOTIFY, code, id, lastId, NotifyRange, fn)
// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(message, fn) AFX_MSGMAP_ENTRY_(message, 0, 0, 0, Message, fn)

#define ON_WM_SIZE() AFX_MSGMAP_ENTRY_(WM_SIZE, 0, 0, 0, Size, OnSize)
#define ON_WM_MOVE() AFX_MSGMAP_ENTRY_(WM_MOVE, 0, 0, 0, Move, OnMove)
#define ON_WM_PAINT() AFX_MSGMAP_ENTRY_(WM_PAINT, 0, 0, 0, Void, OnPaint)
#define ON_WM_ERASEBKGND() AFX_MSGMAP_ENTRY_(WM_ERASEBKGND, 0, 0, 0, EraseBkgnd, OnEraseBkgnd)
#define ON_WM_MOUSEMOVE() AFX_MSGMAP_ENTRY_(WM_MOUSEMOVE, 0, 0, 0, Mouse, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MSGMAP_ENTRY_(WM_LBUTTONDOWN, 0, 0, 0, Mouse, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MSGMAP_ENTRY_(WM_LBUTTONUP, 0, 0, 0, Mouse, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MSGMAP_ENTRY_(WM_LBUTTONDBLCLK, 0, 0, 0, Mouse, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MSGMAP_ENTRY_(WM_RBUTTONDOWN, 0, 0, 0, Mouse, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MSGMAP_ENTRY_(WM_RBUTTONUP, 0, 0, 0, Mouse, OnRButtonUp)
#define ON_WM_SETCURSOR() AFX_MSGMAP_ENTRY_(WM_SETCURSOR, 0, 0, 0, SetCursor, OnSetCursor)
#define ON_WM_CANCELMODE() AFX_MSGMAP_ENTRY_(WM_CANCELMODE, 0, 0, 0, Void, OnCancelMode)
#define ON_WM_CAPTURECHANGED()                                                                     \
    AFX_MSGMAP_ENTRY_(WM_CAPTURECHANGED, 0, 0, 0, CaptureChanged, OnCaptureChanged)
#define ON_WM_KEYDOWN() AFX_MSGMAP_ENTRY_(WM_KEYDOWN, 0, 0, 0, Key, OnKeyDown)
#define ON_WM_KEYUP() AFX_MSGMAP_ENTRY_(WM_KEYUP, 0, 0, 0, Key, OnKeyUp)
#define ON_WM_CHAR() AFX_MSGMAP_ENTRY_(WM_CHAR, 0, 0, 0, Key, OnChar)
#define ON_WM_SETFOCUS() AFX_MSGMAP_ENTRY_(WM_SETFOCUS, 0, 0, 0, Window, OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_MSGMAP_ENTRY_(WM_KILLFOCUS, 0, 0, 0, Window, OnKillFocus)
#define ON_WM_CONTEXTMENU() AFX_MSGMAP_ENTRY_(WM_CONTEXTMENU, 0, 0, 0, ContextMenu, OnContextMenu)
#define ON_WM_GETMINMAXINFO() AFX_MSGMAP_ENTRY_(WM_GETMINMAXINFO, 0, 0, 0, MinMax, OnGetMinMaxInfo)
#define ON_WM_SHOWWINDOW() AFX_MSGMAP_ENTRY_(WM_SHOWWINDOW, 0, 0, 0, ShowWindow, OnShowWindow)
#define ON_WM_CLOSE() AFX_MSGMAP_ENTRY_(WM_CLOSE, 0, 0, 0, Void, OnClose)
#define ON_WM_DESTROY() AFX_MSGMAP_ENTRY_(WM_DESTROY, 0, 0, 0, Void, OnDestroy)
#define ON_WM_GETDLGCODE() AFX_MSGMAP_ENTRY_(WM_GETDLGCODE, 0, 0, 0, DlgCode, OnGetDlgCode)

// MFC spells handler declarations with afx_msg; it means nothing.
#define afx_msg
