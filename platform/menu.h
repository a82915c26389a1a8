// CMenu: popup menus with sub-menus, separators and greyed items, tracked by the backend.
#pragma once

#include "platform/cstring.h"
#include "platform/gdi.h"
#include "platform/win_messages.h"

#include <memory>

class CWnd;

class CMenu : public CObject {
public:
    CMenu() = default;
    // Destroys the menu unless it was detached (a sub-menu appended to another stays alive with
    // its parent either way).
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu = nullptr;
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU menu);

    BOOL CreatePopupMenu();
    BOOL CreateMenu();
    BOOL DestroyMenu();
    BOOL Attach(HMENU menu);
    HMENU Detach();

    // `idOrMenu` is the command id, or for MF_POPUP the sub-menu's handle.
    BOOL AppendMenu(UINT flags, UINT_PTR idOrMenu = 0, LPCTSTR text = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrMenu = 0, LPCTSTR text = nullptr);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrMenu = 0, LPCTSTR text = nullptr);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags);
    UINT EnableMenuItem(UINT item, UINT enable);
    UINT CheckMenuItem(UINT item, UINT check);

    int GetMenuItemCount() const;
    // The command of the item at `position`; 0 for a separator, -1 (as UINT) for a sub-menu.
    UINT GetMenuItemID(int position) const;
    // MF_ flags of the item, for a sub-menu with its item count in the high byte; -1 (as UINT)
    // when there is no such item.
    UINT GetMenuState(UINT id, UINT flags) const;
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    int GetMenuString(UINT id, LPTSTR buffer, int maxCount, UINT flags) const;
    CMenu* GetSubMenu(int position) const;

    // Shows the menu at the screen point; without TPM_RETURNCMD the chosen command is posted as
    // WM_COMMAND to `owner` and the result is nonzero; with it the command is returned.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);

private:
    std::shared_ptr<MenuData> m_owned; // null for wrappers that do not keep the menu alive
};
