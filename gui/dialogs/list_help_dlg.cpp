#include "dialogs/list_help_dlg.h"

#include "framework/data_exchange.h"

CListHelpDlg::CListHelpDlg(HWND owner) : CDialog(kTemplateId, owner) {}

void CListHelpDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kTextId, m_text);
}

BOOL CListHelpDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT client = {};
    RECT edit = {};
    GetClientRect(&client);
    m_text.GetWindowRect(&edit);
    ScreenToClient(&edit);
    m_layout =
        gui_logic::RecordLayout({edit.left, edit.top, edit.right, edit.bottom}, client.right, client.bottom);
    m_layoutRecorded = true;
    ApplyLayout();
    return TRUE;
}

void CListHelpDlg::ApplyLayout()
{
    if (!m_layoutRecorded || !m_text.IsWindow())
        return;
    RECT client = {};
    GetClientRect(&client);
    gui_logic::Box box = gui_logic::PlaceChild(m_layout, client.right, client.bottom);
    m_text.MoveWindow(box.left, box.top, box.right - box.left, box.bottom - box.top, false);
    Invalidate(true);
    UpdateWindow();
}

bool CListHelpDlg::OnSize(UINT, int, int)
{
    if (::GetWindow(m_hWnd, GW_CHILD))
        ApplyLayout();
    return false;
}

void DockHelpWindow(HWND owner, HWND help)
{
    RECT ownerRect = {};
    RECT helpRect = {};
    if (!help || !::GetWindowRect(owner, &ownerRect) || !::GetWindowRect(help, &helpRect))
        return;
    ::SetWindowPos(help, nullptr, ownerRect.right, ownerRect.top, helpRect.right - helpRect.left,
                   ownerRect.bottom - ownerRect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DockHelpWindowWhileMoving(const RECT& proposed, HWND help)
{
    if (help)
        ::SetWindowPos(help, nullptr, proposed.right, proposed.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
