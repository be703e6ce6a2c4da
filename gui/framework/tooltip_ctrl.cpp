#include "framework/tooltip_ctrl.h"

#include "framework/win_app.h"

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

bool CToolTipCtrl::Create(HWND parent, DWORD style)
{
    HWND hwnd = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | style,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
                                  AfxGetResourceHandle(), nullptr);
    if (!hwnd)
        return false;
    m_hWnd = hwnd;
    // Long texts wrap instead of running off the screen.
    SetMaxTipWidth(300);
    return true;
}

bool CToolTipCtrl::AddTool(HWND tool, const char* text) const
{
    if (!m_hWnd || !tool)
        return false;
    TTTOOLINFOA info = {};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<char*>(text);
    return SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}
