#include "platform/ui_driver.h"

#include "platform/headless/test_driver.h"
#include "platform/menu.h"
#include "platform/tree_view.h"
#include "platform/window_system.h"

#include <functional>

namespace {

CPoint Centre(const CRect& rect) {
    return CPoint(rect.left + rect.Width() / 2, rect.top + rect.Height() / 2);
}

// The visible part's centre, so that a wide label still gets a point inside the window.
CPoint VisibleCentre(CWnd& window, CRect rect) {
    CRect client;
    window.GetClientRect(&client);
    CRect visible;
    if (visible.IntersectRect(&rect, &client))
        rect = visible;
    return Centre(rect);
}

} // namespace

std::vector<MenuItemInfo> DescribeMenu(CMenu* menu) {
    std::vector<MenuItemInfo> items;
    if (!menu)
        return items;
    for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
        MenuItemInfo item;
        const UINT state = menu->GetMenuState(static_cast<UINT>(i), MF_BYPOSITION);
        item.separator = state & MF_SEPARATOR;
        item.grayed = state & (MF_GRAYED | MF_DISABLED);
        item.checked = state & MF_CHECKED;
        item.popup = state & MF_POPUP;
        menu->GetMenuString(static_cast<UINT>(i), item.text, MF_BYPOSITION);
        if (item.popup)
            item.subItems = DescribeMenu(menu->GetSubMenu(i));
        else if (!item.separator)
            item.id = menu->GetMenuItemID(i);
        items.push_back(std::move(item));
    }
    return items;
}

CWnd* UiDriver::Control(UINT id) const {
    CWnd* active = ActiveWindow();
    return active ? active->GetDlgItem(static_cast<int>(id)) : nullptr;
}

void UiDriver::Click(CWnd& window, CPoint point, UINT keys) {
    MouseDown(window, point, MouseButton::Left, keys);
    MouseUp(window, point, MouseButton::Left, keys);
}

void UiDriver::DoubleClick(CWnd& window, CPoint point, UINT keys) {
    Click(window, point, keys);
    MouseDoubleDown(window, point, keys);
    MouseUp(window, point, MouseButton::Left, keys);
}

void UiDriver::RightClick(CWnd& window, CPoint point, UINT keys) {
    MouseDown(window, point, MouseButton::Right, keys);
    MouseUp(window, point, MouseButton::Right, keys);
}

void UiDriver::SlowClick(CWnd& window, CPoint point, UINT keys) {
    Click(window, point, keys);
    ElapseDoubleClickTime();
}

void UiDriver::PressAndMoveAtOnce(CWnd& window, CPoint from, CPoint to, bool release) {
    MouseMove(window, from);
    MouseDown(window, from);
    MouseMove(window, to, MK_LBUTTON);
    if (release)
        MouseUp(window, to);
}

void UiDriver::Drag(CWnd& window, CPoint from, std::initializer_list<CPoint> through, CPoint to,
                    UINT keys) {
    MouseMove(window, from, keys);
    MouseDown(window, from, MouseButton::Left, keys);
    for (CPoint point : through)
        MouseMove(window, point, keys);
    MouseMove(window, to, keys);
    MouseUp(window, to, MouseButton::Left, keys);
}

void UiDriver::PressButton(UINT id) {
    CWnd* control = Control(id);
    if (!control || !control->IsWindowVisible()) {
        ReportFailure("no visible control " + std::to_string(id) + " to press");
        return;
    }
    CRect client;
    control->GetClientRect(&client);
    Click(*control, Centre(client));
}

CPoint UiDriver::ListItemPoint(CListCtrl& list, int index, UINT part) {
    list.EnsureVisible(index, FALSE);
    CRect rect;
    if (!list.GetItemRect(index, &rect, part)) {
        ReportFailure("no list item " + std::to_string(index));
        return CPoint(-1, -1);
    }
    return VisibleCentre(list, rect);
}

int UiDriver::FindListItem(const CListCtrl& list, std::string_view text, int subItem) const {
    for (int i = 0; i < list.GetItemCount(); ++i)
        if (list.GetItemText(i, subItem).str() == text)
            return i;
    return -1;
}

void UiDriver::ClickListItem(CListCtrl& list, int index, UINT keys) {
    Click(list, ListItemPoint(list, index), keys);
}

void UiDriver::DoubleClickListItem(CListCtrl& list, int index, UINT keys) {
    DoubleClick(list, ListItemPoint(list, index), keys);
}

void UiDriver::RightClickListItem(CListCtrl& list, int index, UINT keys) {
    RightClick(list, ListItemPoint(list, index), keys);
}

void UiDriver::SlowClickListItem(CListCtrl& list, int index) {
    SlowClick(list, ListItemPoint(list, index));
}

CPoint UiDriver::ColumnHeaderPoint(CListCtrl& list, int column) {
    CPoint origin;
    list.GetOrigin(&origin);
    long left = -origin.x;
    for (int c = 0; c < column; ++c)
        left += list.GetColumnWidth(c);
    return CPoint(left + list.GetColumnWidth(column) / 2, list.GetHeaderHeight() / 2);
}

void UiDriver::ClickColumnHeader(CListCtrl& list, int column) {
    Click(list, ColumnHeaderPoint(list, column));
}

CPoint UiDriver::TreeItemPoint(CTreeCtrl& tree, HTREEITEM item) {
    tree.EnsureVisible(item);
    CRect rect;
    if (!tree.GetItemRect(item, &rect, TRUE)) {
        ReportFailure("tree item not shown");
        return CPoint(-1, -1);
    }
    return VisibleCentre(tree, rect);
}

CPoint UiDriver::TreeButtonPoint(CTreeCtrl& tree, HTREEITEM item) {
    tree.EnsureVisible(item);
    CRect rect;
    TreeView* view = TreeViewOf(tree.m_hWnd);
    if (!view || !view->ButtonRect(item, rect)) {
        ReportFailure("tree item without a button");
        return CPoint(-1, -1);
    }
    return Centre(rect);
}

HTREEITEM UiDriver::FindTreeItem(const CTreeCtrl& tree, std::string_view text) const {
    std::function<HTREEITEM(HTREEITEM)> search = [&](HTREEITEM first) -> HTREEITEM {
        for (HTREEITEM item = first; item; item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemText(item).str() == text)
                return item;
            if (HTREEITEM found = search(tree.GetChildItem(item)))
                return found;
        }
        return nullptr;
    };
    return search(tree.GetRootItem());
}

HTREEITEM UiDriver::FindTreeItem(const CTreeCtrl& tree,
                                 std::initializer_list<std::string_view> path) const {
    HTREEITEM level = tree.GetRootItem();
    HTREEITEM found = nullptr;
    for (std::string_view text : path) {
        found = nullptr;
        for (HTREEITEM item = level; item; item = tree.GetNextSiblingItem(item))
            if (tree.GetItemText(item).str() == text) {
                found = item;
                break;
            }
        if (!found)
            return nullptr;
        level = tree.GetChildItem(found);
    }
    return found;
}

void UiDriver::ClickTreeItem(CTreeCtrl& tree, HTREEITEM item, UINT keys) {
    Click(tree, TreeItemPoint(tree, item), keys);
}

void UiDriver::DoubleClickTreeItem(CTreeCtrl& tree, HTREEITEM item) {
    DoubleClick(tree, TreeItemPoint(tree, item));
}

void UiDriver::RightClickTreeItem(CTreeCtrl& tree, HTREEITEM item) {
    RightClick(tree, TreeItemPoint(tree, item));
}

void UiDriver::SlowClickTreeItem(CTreeCtrl& tree, HTREEITEM item) {
    SlowClick(tree, TreeItemPoint(tree, item));
}

void UiDriver::ClickTreeButton(CTreeCtrl& tree, HTREEITEM item) {
    Click(tree, TreeButtonPoint(tree, item));
}

void UiDriver::ClickToolbarButton(CToolBarCtrl& toolbar, UINT command) {
    CRect rect;
    const int index = toolbar.CommandToIndex(command);
    if (index < 0 || !toolbar.GetItemRect(index, &rect)) {
        ReportFailure("no toolbar button " + std::to_string(command));
        return;
    }
    Click(toolbar, Centre(rect));
}

// ---- Drivers by backend ----

namespace {
std::vector<std::pair<std::string, UiDriverFactory>>& Factories() {
    static auto* factories = new std::vector<std::pair<std::string, UiDriverFactory>>{
        {"headless", [] { return std::unique_ptr<UiDriver>(new headless::TestDriver); }}};
    return *factories;
}
} // namespace

void RegisterUiDriver(std::string name, UiDriverFactory factory) {
    Factories().emplace_back(std::move(name), std::move(factory));
}

void UnregisterUiDriver(const std::string& name) {
    std::erase_if(Factories(), [&](const auto& entry) { return entry.first == name; });
}

std::vector<std::string> UiDriverNames() {
    std::vector<std::string> names;
    for (const auto& entry : Factories())
        names.push_back(entry.first);
    return names;
}

std::unique_ptr<UiDriver> MakeUiDriver(const std::string& name) {
    for (const auto& entry : Factories())
        if (entry.first == name)
            return entry.second();
    return nullptr;
}

// ---- RecordingWindow ----

BOOL RecordingWindow::Create(const CRect& rect, LPCTSTR title) {
    return CreateEx(0, nullptr, title, WS_POPUP | WS_VISIBLE | WS_CAPTION, rect, nullptr, 0);
}

std::vector<RecordingWindow::Notification> RecordingWindow::Recorded(UINT code) const {
    std::vector<Notification> found;
    for (const Notification& n : notifications)
        if (n.code == code)
            found.push_back(n);
    return found;
}

BOOL RecordingWindow::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    Notification n;
    n.code = header->code;
    n.id = static_cast<UINT>(header->idFrom);
    n.from = header->hwndFrom;
    WindowData* from = winsys::Live(header->hwndFrom);
    const WindowKind kind = from ? from->kind : WindowKind::Generic;
    const UINT code = header->code;
    if (code == NM_CUSTOMDRAW) {
        const auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(header);
        n.drawStage = draw->dwDrawStage;
        n.rect = draw->rc;
        n.item = static_cast<int>(draw->dwItemSpec);
        n.lParam = draw->lItemlParam;
    } else if (code == LVN_BEGINLABELEDIT || code == LVN_ENDLABELEDIT) {
        const auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
        n.item = info->item.iItem;
        n.lParam = info->item.lParam;
        n.hasText = info->item.pszText != nullptr;
        n.text = info->item.pszText ? info->item.pszText : "";
        n.textMax = info->item.cchTextMax;
    } else if (code == TVN_BEGINLABELEDIT || code == TVN_ENDLABELEDIT) {
        const auto* info = reinterpret_cast<NMTVDISPINFO*>(header);
        n.itemNew = info->item.hItem;
        n.lParam = info->item.lParam;
        n.hasText = info->item.pszText != nullptr;
        n.text = info->item.pszText ? info->item.pszText : "";
        n.textMax = info->item.cchTextMax;
    } else if (kind == WindowKind::TreeView && code >= TVN_KEYDOWN && code <= TVN_FIRST) {
        const auto* info = reinterpret_cast<NMTREEVIEW*>(header);
        if (code != TVN_KEYDOWN) {
            n.action = info->action;
            n.itemOld = info->itemOld.hItem;
            n.itemNew = info->itemNew.hItem;
            n.lParam = info->itemNew.hItem ? info->itemNew.lParam : info->itemOld.lParam;
            n.point = info->ptDrag;
        }
    } else if (kind == WindowKind::ListView && code != NM_SETFOCUS && code != NM_KILLFOCUS &&
               code != LVN_KEYDOWN) {
        const auto* info = reinterpret_cast<NMLISTVIEW*>(header);
        n.item = info->iItem;
        n.subItem = info->iSubItem;
        n.newState = info->uNewState;
        n.oldState = info->uOldState;
        n.changed = info->uChanged;
        n.point = info->ptAction;
        n.lParam = info->lParam;
    }
    notifications.push_back(n);
    *result = answer ? answer(header) : 0;
    if (observe)
        observe(header);
    return TRUE;
}

BOOL RecordingWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    return TRUE;
}

LRESULT RecordingWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU) {
        contextMenus.push_back(
            {reinterpret_cast<HWND>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))});
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
