#include "platform/window.h"

#include "platform/app.h"
#include "platform/user_notifier.h"
#include "platform/window_system.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace {

HWND SpecialHandle(std::intptr_t value) {
    return reinterpret_cast<HWND>(value);
}

WindowKind KindOfClass(LPCTSTR className) {
    if (!className)
        return WindowKind::Generic;
    struct Entry {
        const char* name;
        WindowKind kind;
    };
    static const Entry entries[] = {
        {WC_BUTTON, WindowKind::Button},     {WC_EDIT, WindowKind::Edit},
        {WC_STATIC, WindowKind::Static},     {WC_TREEVIEW, WindowKind::TreeView},
        {WC_LISTVIEW, WindowKind::ListView}, {TOOLBARCLASSNAME, WindowKind::ToolBar},
    };
    for (const Entry& entry : entries)
        if (strcasecmp(className, entry.name) == 0)
            return entry.kind;
    return WindowKind::Generic;
}

// Contexts handed out by GetDC until ReleaseDC.
std::vector<std::unique_ptr<CDC>>& OutstandingDCs() {
    static auto* contexts = new std::vector<std::unique_ptr<CDC>>;
    return *contexts;
}

CDC* NewWindowDC(HWND window, bool whole) {
    auto dc = std::make_unique<CDC>();
    if (!winsys::ClientDC(window, *dc, whole))
        return nullptr;
    OutstandingDCs().push_back(std::move(dc));
    return OutstandingDCs().back().get();
}

} // namespace

const CWnd CWnd::wndTop(SpecialHandle(0));
const CWnd CWnd::wndBottom(SpecialHandle(1));
const CWnd CWnd::wndTopMost(SpecialHandle(-1));
const CWnd CWnd::wndNoTopMost(SpecialHandle(-2));

CWnd::CWnd() = default;

CWnd::CWnd(HWND special) : m_hWnd(special) {}

CWnd::~CWnd() {
    WindowData* data = winsys::Live(m_hWnd);
    if (data && data->permanent == this)
        winsys::Destroy(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND window) {
    return winsys::ObjectOf(window);
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    WindowData* data = winsys::Live(window);
    return data ? data->permanent : nullptr;
}

BOOL CWnd::Attach(HWND window) {
    WindowData* data = winsys::Live(window);
    if (!data || data->permanent || m_hWnd)
        return FALSE;
    data->permanent = this;
    m_hWnd = window;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND window = m_hWnd;
    if (WindowData* data = winsys::Live(window); data && data->permanent == this)
        data->permanent = nullptr;
    m_hWnd = nullptr;
    return window;
}

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id) {
    if (m_hWnd)
        return FALSE;
    winsys::CreateParams params;
    params.kind = KindOfClass(className);
    params.exStyle = exStyle;
    params.text = windowName;
    params.style = style;
    params.rect = rect;
    if (style & WS_CHILD)
        params.parent = parent ? parent->m_hWnd : nullptr;
    else
        params.owner = parent ? parent->m_hWnd : nullptr;
    params.id = id;
    params.object = this;
    HWND window = winsys::Create(params);
    if (!window) {
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!winsys::Live(m_hWnd))
        return FALSE;
    winsys::Destroy(m_hWnd);
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND window) {
    return Attach(window);
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    CWnd* child = parent ? parent->GetDlgItem(static_cast<int>(id)) : nullptr;
    return child ? SubclassWindow(child->m_hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    return Detach();
}

CWnd* CWnd::GetDlgItem(int id) const {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return nullptr;
    for (HWND child : data->children)
        if (child->id == static_cast<UINT>(id))
            return FromHandle(child);
    return nullptr;
}

int CWnd::GetDlgCtrlID() const {
    WindowData* data = winsys::Live(m_hWnd);
    return data ? static_cast<int>(data->id) : 0;
}

int CWnd::SetDlgCtrlID(int id) {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return 0;
    return static_cast<int>(std::exchange(data->id, static_cast<UINT>(id)));
}

CWnd* CWnd::GetParent() const {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return nullptr;
    return FromHandle(data->parent ? data->parent : data->owner);
}

CWnd* CWnd::GetOwner() const {
    return GetParent();
}

CWnd* CWnd::GetTopLevelParent() const {
    return FromHandle(winsys::TopLevelOf(m_hWnd));
}

CWnd* CWnd::GetWindow(UINT command) const {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return nullptr;
    if (command == GW_CHILD)
        return data->children.empty() ? nullptr : FromHandle(data->children.front());
    if (command == GW_OWNER)
        return FromHandle(data->owner);
    const std::vector<HWND> siblings =
        data->parent ? data->parent->children : winsys::TopLevelWindows();
    auto it = std::find(siblings.begin(), siblings.end(), data);
    if (it == siblings.end())
        return nullptr;
    switch (command) {
    case GW_HWNDFIRST:
        return FromHandle(siblings.front());
    case GW_HWNDLAST:
        return FromHandle(siblings.back());
    case GW_HWNDNEXT:
        return it + 1 == siblings.end() ? nullptr : FromHandle(*(it + 1));
    case GW_HWNDPREV:
        return it == siblings.begin() ? nullptr : FromHandle(*(it - 1));
    default:
        return nullptr;
    }
}

BOOL CWnd::IsChild(const CWnd* window) const {
    WindowData* data = window ? winsys::Live(window->m_hWnd) : nullptr;
    for (; data; data = data->parent)
        if (data->parent == m_hWnd)
            return TRUE;
    return FALSE;
}

BOOL CWnd::IsWindowEnabled() const {
    WindowData* data = winsys::Live(m_hWnd);
    return data && !(data->style & WS_DISABLED);
}

BOOL CWnd::EnableWindow(BOOL enable) {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return FALSE;
    const BOOL wasDisabled = (data->style & WS_DISABLED) ? TRUE : FALSE;
    const DWORD style = enable ? data->style & ~WS_DISABLED : data->style | WS_DISABLED;
    if (style != data->style) {
        winsys::SetStyle(m_hWnd, style, data->exStyle);
        SendMessage(WM_ENABLE, enable ? TRUE : FALSE);
    }
    return wasDisabled;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    winsys::SetWindowRect(m_hWnd, CRect(x, y, x + width, y + height), repaint);
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    if (rect)
        winsys::SetWindowRect(m_hWnd, CRect(rect), repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return FALSE;
    CRect rect = data->rect;
    if (!(flags & SWP_NOMOVE))
        rect.MoveToXY(x, y);
    if (!(flags & SWP_NOSIZE)) {
        rect.right = rect.left + cx;
        rect.bottom = rect.top + cy;
    }
    if (!(flags & SWP_NOZORDER) && insertAfter && data->parent) {
        auto& siblings = data->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), data), siblings.end());
        if (insertAfter == &wndBottom) {
            siblings.push_back(data);
        } else {
            auto after = std::find(siblings.begin(), siblings.end(), insertAfter->m_hWnd);
            siblings.insert(after == siblings.end() ? siblings.begin() : after + 1, data);
        }
    }
    winsys::SetWindowRect(m_hWnd, rect, !(flags & SWP_NOREDRAW));
    if (flags & SWP_SHOWWINDOW)
        winsys::SetVisible(m_hWnd, true);
    if (flags & SWP_HIDEWINDOW)
        winsys::SetVisible(m_hWnd, false);
    return TRUE;
}

void CWnd::GetWindowRect(LPRECT rect) const {
    WindowData* data = winsys::Live(m_hWnd);
    if (!rect)
        return;
    if (!data) {
        *rect = CRect();
        return;
    }
    CRect result = data->rect;
    if (data->parent)
        result.OffsetRect(winsys::ClientOrigin(data->parent));
    *rect = result;
}

void CWnd::GetClientRect(LPRECT rect) const {
    if (rect)
        *rect = winsys::ClientRect(m_hWnd);
}

void CWnd::ClientToScreen(LPPOINT point) const {
    if (!point)
        return;
    const CPoint origin = winsys::ClientOrigin(m_hWnd);
    point->x += origin.x;
    point->y += origin.y;
}

void CWnd::ClientToScreen(LPRECT rect) const {
    if (rect)
        static_cast<CRect*>(rect)->OffsetRect(winsys::ClientOrigin(m_hWnd));
}

void CWnd::ScreenToClient(LPPOINT point) const {
    if (!point)
        return;
    const CPoint origin = winsys::ClientOrigin(m_hWnd);
    point->x -= origin.x;
    point->y -= origin.y;
}

void CWnd::ScreenToClient(LPRECT rect) const {
    if (!rect)
        return;
    const CPoint origin = winsys::ClientOrigin(m_hWnd);
    static_cast<CRect*>(rect)->OffsetRect(-origin.x, -origin.y);
}

void CWnd::MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const {
    const CPoint from = winsys::ClientOrigin(m_hWnd);
    const CPoint target = to ? winsys::ClientOrigin(to->m_hWnd) : CPoint();
    for (UINT i = 0; i < count; ++i) {
        points[i].x += from.x - target.x;
        points[i].y += from.y - target.y;
    }
}

void CWnd::MapWindowPoints(CWnd* to, LPRECT rect) const {
    if (rect)
        MapWindowPoints(to, reinterpret_cast<LPPOINT>(rect), 2);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return;
    CRect area = CurrentWindowBackend().WorkArea();
    CWnd* owner = alternateOwner ? alternateOwner : GetParent();
    if (owner && winsys::IsVisible(owner->m_hWnd))
        owner->GetWindowRect(&area);
    CRect rect;
    GetWindowRect(&rect);
    CPoint topLeft(area.left + (area.Width() - rect.Width()) / 2,
                   area.top + (area.Height() - rect.Height()) / 2);
    if (data->parent)
        FromHandle(data->parent)->ScreenToClient(&topLeft);
    SetWindowPos(nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data || !placement)
        return FALSE;
    placement->length = sizeof(WINDOWPLACEMENT);
    placement->flags = 0;
    placement->showCmd = (data->style & WS_VISIBLE) ? SW_SHOWNORMAL : SW_HIDE;
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    placement->rcNormalPosition = data->rect;
    return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
    if (!winsys::Live(m_hWnd) || !placement)
        return FALSE;
    winsys::SetWindowRect(m_hWnd, CRect(placement->rcNormalPosition), true);
    winsys::SetVisible(m_hWnd, placement->showCmd != static_cast<UINT>(SW_HIDE));
    return TRUE;
}

BOOL CWnd::ShowWindow(int command) {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return FALSE;
    const BOOL wasVisible = (data->style & WS_VISIBLE) ? TRUE : FALSE;
    winsys::SetVisible(m_hWnd, command != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return winsys::IsVisible(m_hWnd);
}

void CWnd::SetWindowText(LPCTSTR text) {
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

int CWnd::GetWindowText(LPTSTR buffer, int maxCount) const {
    return static_cast<int>(winsys::Send(m_hWnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(buffer)));
}

void CWnd::GetWindowText(CString& text) const {
    WindowData* data = winsys::Live(m_hWnd);
    text = data ? data->text : CString();
}

int CWnd::GetWindowTextLength() const {
    WindowData* data = winsys::Live(m_hWnd);
    return data ? data->text.GetLength() : 0;
}

void CWnd::SetDlgItemText(int id, LPCTSTR text) {
    if (CWnd* item = GetDlgItem(id))
        item->SetWindowText(text);
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    text.Empty();
    if (CWnd* item = GetDlgItem(id))
        item->GetWindowText(text);
    return text.GetLength();
}

DWORD CWnd::GetStyle() const {
    WindowData* data = winsys::Live(m_hWnd);
    return data ? data->style : 0;
}

BOOL CWnd::GetScrollInfo(int bar, LPSCROLLINFO info, UINT mask) const {
    if (!info || !winsys::Live(m_hWnd) || (bar != SB_HORZ && bar != SB_VERT))
        return FALSE;
    const ScrollBarState state = winsys::ScrollState(m_hWnd, bar);
    if (mask & SIF_RANGE) {
        info->nMin = state.min;
        info->nMax = state.max;
    }
    if (mask & SIF_PAGE)
        info->nPage = static_cast<UINT>(state.page);
    if (mask & SIF_POS)
        info->nPos = state.pos;
    if (mask & SIF_TRACKPOS)
        info->nTrackPos = state.trackPos;
    return TRUE;
}

int CWnd::GetScrollPos(int bar) const {
    return winsys::ScrollState(m_hWnd, bar).pos;
}

DWORD CWnd::GetExStyle() const {
    WindowData* data = winsys::Live(m_hWnd);
    return data ? data->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return FALSE;
    const DWORD style = (data->style & ~remove) | add;
    if (style == data->style)
        return FALSE;
    winsys::SetStyle(m_hWnd, style, data->exStyle);
    if (flags)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return FALSE;
    const DWORD exStyle = (data->exStyle & ~remove) | add;
    if (exStyle == data->exStyle)
        return FALSE;
    winsys::SetStyle(m_hWnd, data->style, exStyle);
    if (flags)
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data)
        return nullptr;
    return bigIcon ? data->bigIcon : data->smallIcon;
}

CWnd* CWnd::SetFocus() {
    HWND previous = winsys::Focus();
    winsys::SetFocus(m_hWnd);
    return FromHandle(previous);
}

CWnd* CWnd::GetFocus() {
    return FromHandle(winsys::Focus());
}

CWnd* CWnd::SetCapture() {
    HWND previous = winsys::Capture();
    winsys::SetCapture(m_hWnd);
    return FromHandle(previous);
}

CWnd* CWnd::GetCapture() {
    return FromHandle(winsys::Capture());
}

void CWnd::SetRedraw(BOOL redraw) {
    SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE);
}

void CWnd::Invalidate(BOOL) {
    winsys::Invalidate(m_hWnd, nullptr);
}

void CWnd::InvalidateRect(LPCRECT rect, BOOL) {
    if (rect) {
        const CRect area(rect);
        winsys::Invalidate(m_hWnd, &area);
    } else {
        winsys::Invalidate(m_hWnd, nullptr);
    }
}

void CWnd::ValidateRect(LPCRECT) {}

void CWnd::UpdateWindow() {
    winsys::Update(m_hWnd);
}

BOOL CWnd::RedrawWindow(LPCRECT update, CRgn*, UINT flags) {
    if (!winsys::Live(m_hWnd))
        return FALSE;
    if (flags & RDW_INVALIDATE)
        InvalidateRect(update, flags & RDW_ERASE);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW))
        winsys::Update(m_hWnd);
    return TRUE;
}

CDC* CWnd::GetDC() {
    return NewWindowDC(m_hWnd, false);
}

CDC* CWnd::GetWindowDC() {
    return NewWindowDC(m_hWnd, true);
}

int CWnd::ReleaseDC(CDC* dc) {
    auto& contexts = OutstandingDCs();
    auto it = std::find_if(contexts.begin(), contexts.end(),
                           [&](const std::unique_ptr<CDC>& owned) { return owned.get() == dc; });
    if (it == contexts.end())
        return 0;
    contexts.erase(it);
    return 1;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return winsys::Send(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!winsys::Live(m_hWnd))
        return FALSE;
    winsys::Post(m_hWnd, message, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* item = GetDlgItem(id);
    return item ? item->SendMessage(message, wParam, lParam) : 0;
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
    CString title;
    if (caption)
        title = caption;
    else
        title.LoadString(AFX_IDS_APP_TITLE);
    return ShowMessageBox(CString(text), title, type);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

namespace {
const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id,
                                  bool matchIds) {
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
            if (entry->nMessage != message)
                continue;
            if (matchIds && (entry->nCode != code || id < entry->nID || id > entry->nLastID))
                continue;
            return entry;
        }
    }
    return nullptr;
}
} // namespace

const AFX_MSGMAP_ENTRY* CWnd::FindMessageEntry(UINT message, UINT code, UINT id,
                                               bool matchIds) const {
    const AFX_MSGMAP* map = GetMessageMap();
    MessageCacheSlot& slot =
        m_messageCache[(message * 31u + code * 7u + id) % std::size(m_messageCache)];
    if (slot.map != map || slot.message != message || slot.code != code || slot.id != id ||
        slot.matchIds != matchIds)
        slot = {map, message, code, id, matchIds, FindEntry(map, message, code, id, matchIds)};
    return slot.entry;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        LRESULT notifyResult = 0;
        if (!OnNotify(wParam, lParam, &notifyResult))
            return FALSE;
        *result = notifyResult;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0, false);
    if (!entry)
        return FALSE;
    return entry->pfn(this, message, wParam, lParam, result);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return winsys::ClassProc(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT code = HIWORD(wParam);
    if (code == 1 && lParam == 0)
        code = 0; // accelerators arrive like menu commands
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_COMMAND, code, LOWORD(wParam), true);
    if (!entry)
        return FALSE;
    LRESULT result = 0;
    return entry->pfn(this, WM_COMMAND, wParam, lParam, &result);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header)
        return FALSE;
    const AFX_MSGMAP_ENTRY* entry =
        FindMessageEntry(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), true);
    if (!entry)
        return FALSE;
    return entry->pfn(this, WM_NOTIFY, header->idFrom, lParam, result);
}

void CWnd::PostNcDestroy() {}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

LRESULT CWnd::Default() {
    WindowData* data = winsys::Live(m_hWnd);
    if (!data || data->dispatching.empty())
        return 0;
    const WindowData::Message current = data->dispatching.back();
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnCancelMode() {
    Default();
}
void CWnd::OnCaptureChanged(CWnd*) {
    Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnDestroy() {
    Default();
}
UINT CWnd::OnGetDlgCode() {
    return static_cast<UINT>(Default());
}

BOOL ReleaseCapture() {
    winsys::ReleaseCapture();
    return TRUE;
}

BOOL IsWindow(HWND window) {
    return winsys::Live(window) ? TRUE : FALSE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point)
        return FALSE;
    *point = winsys::CursorPos();
    return TRUE;
}

SHORT GetKeyState(int virtualKey) {
    return winsys::KeyDown(static_cast<UINT>(virtualKey)) ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetAsyncKeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

UINT GetDoubleClickTime() {
    return CurrentWindowBackend().DoubleClickTime();
}

DWORD GetTickCount() {
    return CurrentWindowBackend().TickCount();
}
