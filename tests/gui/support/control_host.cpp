#include "support/control_host.h"

#include "controls/icon_menu.h"
#include "support/message_pump.h"

namespace gt {

HostDialog::~HostDialog()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    PumpMessages();
}

bool HostDialog::Create(const char* caption, int cx, int cy, int x, int y)
{
    if (!CDialog::Create())
        return false;
    SetWindowText(caption);
    RECT r{0, 0, cx, cy};
    if (!::MapDialogRect(m_hWnd, &r))
        return false;
    if (!::AdjustWindowRectEx(&r, static_cast<DWORD>(GetStyle()), FALSE, static_cast<DWORD>(GetExStyle())))
        return false;
    if (!::SetWindowPos(m_hWnd, HWND_TOP, x, y, r.right - r.left, r.bottom - r.top, SWP_SHOWWINDOW))
        return false;
    ::SetForegroundWindow(m_hWnd);
    ::SetActiveWindow(m_hWnd);
    ::UpdateWindow(m_hWnd);
    PumpMessages(m_hWnd);
    return true;
}

HWND HostDialog::AddControl(WORD id, const char* className, DWORD style, int x, int y, int cx, int cy,
                            const char* text)
{
    RECT r{x, y, x + cx, y + cy};
    if (!::MapDialogRect(m_hWnd, &r))
        return nullptr;
    HWND control = ::CreateWindowExA(
        0, className, text, style | WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
        m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (control)
        ::SendMessageA(control, WM_SETFONT, SendMessage(WM_GETFONT), FALSE);
    return control;
}

int HostDialog::Clicks(WORD id) const
{
    int n = 0;
    for (const auto& command : commands) {
        if (command.first == id && command.second == BN_CLICKED)
            ++n;
    }
    return n;
}

bool HostDialog::OnCommand(UINT code, UINT id, HWND)
{
    commands.emplace_back(static_cast<WORD>(id), static_cast<WORD>(code));
    return true;
}

bool HostDialog::OnTimer(UINT_PTR id)
{
    if (onTimer)
        onTimer(id);
    return true;
}

bool HostDialog::OnDrawItem(UINT, DRAWITEMSTRUCT* item)
{
    if (item->CtlType != ODT_MENU)
        return false;
    ++menuDrawRequests;
    return CIconMenu::HandleDrawItem(item);
}

bool HostDialog::OnMeasureItem(UINT, MEASUREITEMSTRUCT* item)
{
    if (item->CtlType != ODT_MENU)
        return false;
    ++menuMeasureRequests;
    return CIconMenu::HandleMeasureItem(item);
}

bool HostDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    if (msg == WM_INITMENUPOPUP) {
        HMENU popup = reinterpret_cast<HMENU>(wp);
        if (!HIWORD(lp) && CIconMenu::IsIconMenu(popup))
            CIconMenu::FromHandle(popup)->UpdatePopup(popup);
        return true;
    }
    if (msg == WM_MENUCHAR) {
        HMENU menu = reinterpret_cast<HMENU>(lp);
        if (!CIconMenu::IsIconMenu(menu))
            return false;
        *result = CIconMenu::FromHandle(menu)->FindMenuChar(LOWORD(wp), HIWORD(wp), menu);
        return true;
    }
    return false;
}

}  // namespace gt
