#include "framework/tooltip_ctrl.h"

#include "framework/win_app.h"

int g_showToolTips = 1;

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

bool CToolTipCtrl::Create(HWND parent, DWORD style)
{
    HWND hwnd =
        ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, AfxGetResourceHandle(), nullptr);
    if (!hwnd)
        return false;
    m_hWnd = hwnd;
    // Without a maximum width the control ignores line breaks in the texts; with the
    // screen's width it breaks at them and nowhere else.
    int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    SetMaxTipWidth(screenWidth > 0 ? screenWidth : 4096);
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
