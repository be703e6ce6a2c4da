#include "dialogs/program_options_dlg.h"

#include "framework/button.h"
#include "framework/data_exchange.h"
#include "globals.h"
#include "gui_strings.h"
#include "resource.h"

#include <cstdio>

namespace {

const ToolTipEntry kToolTips[] = {
    {IDOK, "Save changes"},
    {IDC_ENABLE_TOOLTIPS, "Set to enable or disable Tool Tips"},
};

}  // namespace

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
    SetUpToolTips("Program Options", kToolTips);
    CButton(GetDlgItem(IDC_ENABLE_TOOLTIPS)).SetCheck(g_showToolTips ? BST_CHECKED : BST_UNCHECKED);
    m_showToolTips = g_showToolTips;
    return TRUE;
}

bool CProgramOptionsDlg::OnCommand(UINT code, UINT id, HWND control)
{
    if (code == BN_CLICKED && id == IDC_ENABLE_TOOLTIPS) {
        m_showToolTips = CButton(GetDlgItem(IDC_ENABLE_TOOLTIPS)).GetCheck() == BST_CHECKED ? 1 : 0;
        ActivateToolTips(m_showToolTips != 0);
        return true;
    }
    return CDialog::OnCommand(code, id, control);
}

void CProgramOptionsDlg::OnOK()
{
    g_showToolTips = m_showToolTips;
    char text[16];
    std::snprintf(text, sizeof text, "%d", m_showToolTips);
    ::WritePrivateProfileStringA(gui::kProgramOptionsSection, gui::kShowToolTipsKey, text,
                                 m_optionsFile.c_str());
    EndDialog(IDOK);
}
