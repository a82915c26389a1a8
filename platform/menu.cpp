#include "platform/menu.h"

#include "platform/window.h"
#include "platform/window_backend.h"
#include "platform/window_system.h"

#include <unordered_set>
#include <vector>

namespace {
std::unordered_set<const MenuData*>& LiveMenus() {
    static auto* live = new std::unordered_set<const MenuData*>;
    return *live;
}
} // namespace

struct MenuItem {
    UINT flags = 0;
    UINT id = 0;
    CString text;
    std::shared_ptr<MenuData> sub;
};

// Shared ownership: a sub-menu lives as long as its parent or a CMenu holding it does.
struct MenuData : std::enable_shared_from_this<MenuData> {
    MenuData() { LiveMenus().insert(this); }
    ~MenuData() { LiveMenus().erase(this); }
    MenuData(const MenuData&) = delete;
    MenuData& operator=(const MenuData&) = delete;

    std::vector<MenuItem> items;
    std::unique_ptr<CMenu> wrapper;
};

namespace {

MenuData* LiveMenu(HMENU menu) {
    return menu && LiveMenus().count(menu) ? menu : nullptr;
}

// The item `position` names, by position or by command (searching sub-menus).
MenuItem* FindItem(MenuData* menu, UINT position, UINT flags, MenuData** owner = nullptr,
                   std::size_t* index = nullptr) {
    if (!menu)
        return nullptr;
    if (flags & MF_BYPOSITION) {
        if (position >= menu->items.size())
            return nullptr;
        if (owner)
            *owner = menu;
        if (index)
            *index = position;
        return &menu->items[position];
    }
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        MenuItem& item = menu->items[i];
        if (!(item.flags & (MF_POPUP | MF_SEPARATOR)) && item.id == position) {
            if (owner)
                *owner = menu;
            if (index)
                *index = i;
            return &item;
        }
        if (item.sub)
            if (MenuItem* found = FindItem(item.sub.get(), position, flags, owner, index))
                return found;
    }
    return nullptr;
}

bool MakeItem(UINT flags, UINT_PTR idOrMenu, LPCTSTR text, MenuItem& item) {
    item.flags = flags & ~(MF_BYPOSITION | MF_BYCOMMAND);
    item.text = text ? text : "";
    if (flags & MF_POPUP) {
        MenuData* sub = LiveMenu(reinterpret_cast<HMENU>(idOrMenu));
        if (!sub)
            return false;
        item.sub = sub->shared_from_this();
        item.id = 0;
    } else {
        item.id = static_cast<UINT>(idOrMenu);
    }
    return true;
}

} // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU menu) {
    MenuData* data = LiveMenu(menu);
    if (!data)
        return nullptr;
    if (!data->wrapper) {
        data->wrapper = std::make_unique<CMenu>();
        data->wrapper->m_hMenu = data;
    }
    return data->wrapper.get();
}

BOOL CMenu::CreatePopupMenu() {
    if (m_hMenu)
        return FALSE;
    m_owned = std::make_shared<MenuData>();
    m_hMenu = m_owned.get();
    return TRUE;
}

BOOL CMenu::CreateMenu() {
    return CreatePopupMenu();
}

BOOL CMenu::DestroyMenu() {
    const bool had = m_hMenu != nullptr;
    m_owned.reset();
    m_hMenu = nullptr;
    return had ? TRUE : FALSE;
}

BOOL CMenu::Attach(HMENU menu) {
    MenuData* data = LiveMenu(menu);
    if (!data || m_hMenu)
        return FALSE;
    m_owned = data->shared_from_this();
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU menu = m_hMenu;
    // A detached menu stays alive only through whoever else holds it, as a handle would.
    if (m_owned && m_owned.use_count() == 1) {
        static auto* detached = new std::vector<std::shared_ptr<MenuData>>;
        detached->push_back(m_owned);
    }
    m_owned.reset();
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrMenu, LPCTSTR text) {
    MenuData* data = LiveMenu(m_hMenu);
    MenuItem item;
    if (!data || !MakeItem(flags, idOrMenu, text, item))
        return FALSE;
    data->items.push_back(std::move(item));
    return TRUE;
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrMenu, LPCTSTR text) {
    MenuData* data = LiveMenu(m_hMenu);
    MenuItem item;
    if (!data || !MakeItem(flags, idOrMenu, text, item))
        return FALSE;
    MenuData* owner = data;
    std::size_t index = data->items.size();
    if (flags & MF_BYPOSITION) {
        if (position < data->items.size())
            index = position;
    } else if (!FindItem(data, position, MF_BYCOMMAND, &owner, &index)) {
        return FALSE;
    }
    owner->items.insert(owner->items.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrMenu, LPCTSTR text) {
    MenuItem* target = FindItem(LiveMenu(m_hMenu), position, flags);
    MenuItem item;
    if (!target || !MakeItem(flags, idOrMenu, text, item))
        return FALSE;
    *target = std::move(item);
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
    MenuData* owner = nullptr;
    std::size_t index = 0;
    if (!FindItem(LiveMenu(m_hMenu), position, flags, &owner, &index))
        return FALSE;
    owner->items.erase(owner->items.begin() + static_cast<std::ptrdiff_t>(index));
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT position, UINT flags) {
    return RemoveMenu(position, flags);
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
    MenuItem* target = FindItem(LiveMenu(m_hMenu), item, enable);
    if (!target)
        return static_cast<UINT>(-1);
    const UINT previous = target->flags & (MF_GRAYED | MF_DISABLED);
    target->flags =
        (target->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT CMenu::CheckMenuItem(UINT item, UINT check) {
    MenuItem* target = FindItem(LiveMenu(m_hMenu), item, check);
    if (!target)
        return static_cast<UINT>(-1);
    const UINT previous = target->flags & MF_CHECKED;
    target->flags = (target->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

int CMenu::GetMenuItemCount() const {
    MenuData* data = LiveMenu(m_hMenu);
    return data ? static_cast<int>(data->items.size()) : -1;
}

UINT CMenu::GetMenuItemID(int position) const {
    MenuData* data = LiveMenu(m_hMenu);
    if (!data || position < 0 || position >= static_cast<int>(data->items.size()))
        return static_cast<UINT>(-1);
    const MenuItem& item = data->items[static_cast<std::size_t>(position)];
    if (item.flags & MF_POPUP)
        return static_cast<UINT>(-1);
    if (item.flags & MF_SEPARATOR)
        return 0;
    return item.id;
}

UINT CMenu::GetMenuState(UINT id, UINT flags) const {
    const MenuItem* item = FindItem(LiveMenu(m_hMenu), id, flags);
    if (!item)
        return static_cast<UINT>(-1);
    UINT state = item->flags & ~MF_POPUP;
    if (item->sub)
        state = MF_POPUP | (state & 0xFF) | (static_cast<UINT>(item->sub->items.size()) << 8);
    return state;
}

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const {
    const MenuItem* item = FindItem(LiveMenu(m_hMenu), id, flags);
    text = item ? item->text : CString();
    return text.GetLength();
}

int CMenu::GetMenuString(UINT id, LPTSTR buffer, int maxCount, UINT flags) const {
    CString text;
    GetMenuString(id, text, flags);
    if (!buffer || maxCount <= 0)
        return text.GetLength();
    const int count = std::min(maxCount - 1, text.GetLength());
    std::copy_n(text.c_str(), count, buffer);
    buffer[count] = '\0';
    return count;
}

CMenu* CMenu::GetSubMenu(int position) const {
    MenuData* data = LiveMenu(m_hMenu);
    if (!data || position < 0 || position >= static_cast<int>(data->items.size()))
        return nullptr;
    const MenuItem& item = data->items[static_cast<std::size_t>(position)];
    return item.sub ? FromHandle(item.sub.get()) : nullptr;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT) {
    MenuData* data = LiveMenu(m_hMenu);
    HWND ownerWindow = owner ? owner->m_hWnd : nullptr;
    if (!data || !winsys::Live(ownerWindow))
        return FALSE;
    // Whoever holds this CMenu may destroy it from a handler while the menu is up.
    std::shared_ptr<MenuData> keep = data->shared_from_this();
    winsys::Send(ownerWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(data), 0);
    const TrackedMenuInfo info{data, flags, CPoint(x, y), ownerWindow};
    const UINT chosen = CurrentWindowBackend().TrackPopupMenu(info);
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && !(flags & TPM_NONOTIFY) && winsys::Live(ownerWindow))
        winsys::Post(ownerWindow, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    return TRUE;
}
