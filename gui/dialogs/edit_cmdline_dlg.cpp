#include "dialogs/edit_cmdline_dlg.h"

#include "framework/data_exchange.h"
#include "gui/logic/configure_values.h"
#include "resource.h"

namespace {

const ToolTipEntry kToolTips[] = {
    {IDC_EDIT_CMDLINE_TEXT, "Enter any commmand line parametes for this program"},
    {IDC_EDIT_CMDLINE_DELAY,
     "Enter the amount of time in seconds to wait after launching this program before proceeding"},
    {IDOK, "Save changes"},
};

}  // namespace

CEditCmdLineDlg::CEditCmdLineDlg(HWND parent) : CDialog(IDD_EDIT_CMDLINE, parent) {}

void CEditCmdLineDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_EDIT_CMDLINE_TEXT, m_commandLine);
    DDV_MaxChars(dx, m_commandLine, gui_logic::kMaxAutoStartCommandChars);
    DDX_Text(dx, IDC_EDIT_CMDLINE_DELAY, m_delay);
    DDV_MinMaxUInt(dx, m_delay, gui_logic::kMinDelaySeconds, gui_logic::kMaxDelaySeconds);
    DDX_Control(dx, IDOK, m_saveButton);
}

BOOL CEditCmdLineDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpToolTips("Edit Auto Start Program", kToolTips);
    m_saveButton.SetFlat(true, true);
    m_saveButton.SetIcon(IDI_SAVE, CIconButton::kDarkened);
    return TRUE;
}
