// CMenu: owns one menu handle (destroyed with the object unless detached). Derived
// classes that draw their items override MeasureItem and DrawItem.
#pragma once

#include <windows.h>

#include <string>

class CMenu {
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    virtual ~CMenu() { DestroyMenu(); }

    HMENU m_hMenu = nullptr;

    HMENU GetSafeHmenu() const { return m_hMenu; }
    operator HMENU() const { return m_hMenu; }
    bool Attach(HMENU menu);
    HMENU Detach();
    bool LoadMenu(UINT resourceId);
    bool CreateMenu();
    bool CreatePopupMenu();
    bool DestroyMenu();

    // Submenu handle of the item at position; not owned by the caller.
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT item, UINT flags) const { return ::GetMenuState(m_hMenu, item, flags); }
    std::string GetMenuString(UINT item, UINT flags) const;
    bool AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr) const
    {
        return ::AppendMenuA(m_hMenu, flags, id, text) != FALSE;
    }
    bool InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, const char* text = nullptr) const
    {
        return ::InsertMenuA(m_hMenu, position, flags, id, text) != FALSE;
    }
    bool ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, const char* text = nullptr) const
    {
        return ::ModifyMenuA(m_hMenu, position, flags, id, text) != FALSE;
    }
    UINT EnableMenuItem(UINT item, UINT flags) const { return ::EnableMenuItem(m_hMenu, item, flags); }
    // Shows the menu (m_hMenu itself must be a popup); with TPM_RETURNCMD returns the command.
    UINT TrackPopupMenu(UINT flags, int x, int y, HWND owner) const;
    // The same for the popup at a position of this menu (a context menu loaded from a
    // template is item 0 of the loaded menu); 0 when there is no popup there.
    UINT TrackSubMenu(int position, UINT flags, int x, int y, HWND owner) const;

    virtual void MeasureItem(MEASUREITEMSTRUCT* item) { (void)item; }
    virtual void DrawItem(DRAWITEMSTRUCT* item) { (void)item; }
};
