#include "framework/menu.h"

#include "framework/win_app.h"

#include <vector>

bool CMenu::Attach(HMENU menu)
{
    if (m_hMenu || !menu)
        return false;
    m_hMenu = menu;
    return true;
}

HMENU CMenu::Detach()
{
    HMENU menu = m_hMenu;
    m_hMenu = nullptr;
    return menu;
}

bool CMenu::LoadMenu(UINT resourceId)
{
    DestroyMenu();
    m_hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
    return m_hMenu != nullptr;
}

bool CMenu::CreateMenu()
{
    DestroyMenu();
    m_hMenu = ::CreateMenu();
    return m_hMenu != nullptr;
}

bool CMenu::CreatePopupMenu()
{
    DestroyMenu();
    m_hMenu = ::CreatePopupMenu();
    return m_hMenu != nullptr;
}

bool CMenu::DestroyMenu()
{
    if (!m_hMenu)
        return false;
    BOOL destroyed = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return destroyed != FALSE;
}

std::string CMenu::GetMenuString(UINT item, UINT flags) const
{
    int length = ::GetMenuStringA(m_hMenu, item, nullptr, 0, flags);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetMenuStringA(m_hMenu, item, buffer.data(), length + 1, flags);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

UINT CMenu::TrackPopupMenu(UINT flags, int x, int y, HWND owner) const
{
    return static_cast<UINT>(::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr));
}

UINT CMenu::TrackSubMenu(int position, UINT flags, int x, int y, HWND owner) const
{
    HMENU popup = GetSubMenu(position);
    if (!popup)
        return 0;
    return static_cast<UINT>(::TrackPopupMenu(popup, flags, x, y, 0, owner, nullptr));
}
