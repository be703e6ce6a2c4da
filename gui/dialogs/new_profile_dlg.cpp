#include "dialogs/new_profile_dlg.h"

#include "framework/data_exchange.h"
#include "globals.h"
#include "gui/logic/profile_name.h"
#include "message_box.h"
#include "resource.h"

#include <cstring>

namespace {

const ToolTipEntry kToolTips[] = {
    {IDOK, "Save changes"},
    {IDC_NEW_PROFILE_BLANK, "Set to create a blank profile"},
    {IDC_NEW_PROFILE_COPY, "Set to create a copy of the currently selected profile"},
    {IDC_NEW_PROFILE_NAME, "Enter the name of the new profile."},
    {IDC_NEW_PROFILE_DESCRIPTION, "Enter a description for the new profile."},
};

}  // namespace

CNewProfileDlg::CNewProfileDlg() : CDialog(IDD_NEW_PROFILE) {}

void CNewProfileDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_NEW_PROFILE_NAME, m_profileName);
    DDX_Text(dx, IDC_NEW_PROFILE_DESCRIPTION, m_description);
    DDX_Control(dx, IDOK, m_saveButton);
}

BOOL CNewProfileDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetUpToolTips("New Profile", kToolTips);
    m_saveButton.SetIcon(IDI_SAVE, CIconButton::kDarkened);
    m_saveButton.SetFlat(true, true);
    return TRUE;
}

bool CNewProfileDlg::OnCommand(UINT code, UINT id, HWND control)
{
    if (code == BN_CLICKED && id == IDC_NEW_PROFILE_BLANK) {
        m_profileKind = kBlankProfile;
        return true;
    }
    if (code == BN_CLICKED && id == IDC_NEW_PROFILE_COPY) {
        m_profileKind = kCopyOfCurrent;
        return true;
    }
    return CDialog::OnCommand(code, id, control);
}

void CNewProfileDlg::OnOK()
{
    UpdateData(true);
    if (m_profileName.empty()) {
        ShowMessageBox(m_hWnd, "You must enter a name for this profile.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (m_profileKind == kNoKind) {
        ShowMessageBox(m_hWnd, "You must select either a Blank profile or a Copy of the Current Profile.",
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // The name becomes a file name in the profiles folder: refuse what cannot be one.
    std::size_t maxLength = gui_logic::MaxProfileNameLength(std::strlen(g_profilesFolder), MAX_PATH);
    gui_logic::ProfileNameProblem problem = gui_logic::CheckProfileName(m_profileName, maxLength);
    if (problem != gui_logic::ProfileNameProblem::None) {
        ShowMessageBox(m_hWnd, gui_logic::ProfileNameMessage(problem, m_profileName).c_str(),
                       MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(GetDlgItem(IDC_NEW_PROFILE_NAME));
        return;
    }
    EndDialog(IDOK);
}
