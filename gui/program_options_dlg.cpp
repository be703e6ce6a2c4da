#include "program_options_dlg.h"

#include "framework/data_exchange.h"
#include "globals.h"
#include "resource.h"

#include <cstdio>

CProgramOptionsDlg::CProgramOptionsDlg() : CDialog(IDD_PROGRAM_OPTIONS) {}

void CProgramOptionsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_saveButton);
}

BOOL CProgramOptionsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_saveButton.SetFlat(true, true);
    m_saveButton.SetIcon(IDI_SAVE, CIconButton::kDarkened);
    if (m_toolTip.Create(m_hWnd, TTS_BALLOON)) {
        m_toolTip.AddTool(GetDlgItem(IDOK), "Save changes");
        m_toolTip.AddTool(GetDlgItem(IDC_ENABLE_TOOLTIPS), "Set to enable or disable Tool Tips");
        m_toolTip.SetTitle(TTI_INFO, "Zephlaunch - Program Options");
        m_toolTip.Activate(g_showToolTips != 0);
    }
    ::SendMessageA(GetDlgItem(IDC_ENABLE_TOOLTIPS), BM_SETCHECK, static_cast<WPARAM>(g_showToolTips), 0);
    m_showToolTips = g_showToolTips;
    return TRUE;
}

bool CProgramOptionsDlg::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

bool CProgramOptionsDlg::OnCommand(UINT code, UINT id, HWND control)
{
    if (code == BN_CLICKED && id == IDC_ENABLE_TOOLTIPS) {
        m_showToolTips = ::SendMessageA(GetDlgItem(IDC_ENABLE_TOOLTIPS), BM_GETCHECK, 0, 0) == 1 ? 1 : 0;
        m_toolTip.Activate(m_showToolTips != 0);
        return true;
    }
    return CDialog::OnCommand(code, id, control);
}

void CProgramOptionsDlg::OnOK()
{
    g_showToolTips = m_showToolTips;
    char text[16];
    std::snprintf(text, sizeof text, "%d", m_showToolTips);
    ::WritePrivateProfileStringA("ProgramOptions", "ShowToolTips", text, m_optionsFile.c_str());
    EndDialog(IDOK);
}
