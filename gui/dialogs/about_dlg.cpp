#include "dialogs/about_dlg.h"

#include "framework/data_exchange.h"
#include "framework/shell_execute.h"
#include "gui/logic/web_links.h"
#include "resource.h"
#include "web_addresses.h"

#include <string>

namespace {

const char kEmailTip[] = "Click to send an email to Quillon";
const char kWebTip[] = "Click to open your browser to the Zephlaunch web site";
const char kLibraryTip[] = "Click to look for the latest version of Zephlaunch in the file library";

// The buttons hand their link to the shell with the default verb and no owner.
void OpenLink(const std::string& target)
{
    ShellExecuteRequest request;
    request.file = target;
    RunShellExecute(request);
}

}  // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDC_ABOUT_EMAIL_LINK, m_emailLink);
    DDX_Control(dx, IDC_ABOUT_WEB_LINK, m_webLink);
    DDX_Control(dx, IDC_ABOUT_WEB_BUTTON, m_webButton);
    DDX_Control(dx, IDC_ABOUT_EMAIL_BUTTON, m_emailButton);
    DDX_Control(dx, IDC_ABOUT_LIBRARY_LINK, m_libraryLink);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_emailLink.SetLinkTarget(gui_logic::SupportMailLink(ZEPH_SUPPORT_EMAIL).c_str());
    m_webLink.SetLinkTarget(ZEPH_WEB_SITE);
    m_libraryLink.SetLinkTarget(ZEPH_FILE_LIBRARY);

    m_webButton.SetFlat(true, true);
    m_webButton.SetIcon(IDI_WEB, CIconButton::kDarkened);
    m_emailButton.SetFlat(true, true);
    m_emailButton.SetIcon(IDI_EMAIL, CIconButton::kDarkened);

    const ToolTipEntry tips[] = {{IDC_ABOUT_EMAIL_BUTTON, kEmailTip},
                                 {IDC_ABOUT_EMAIL_LINK, kEmailTip},
                                 {IDC_ABOUT_WEB_BUTTON, kWebTip},
                                 {IDC_ABOUT_WEB_LINK, kWebTip},
                                 {IDC_ABOUT_LIBRARY_LINK, kLibraryTip}};
    SetUpToolTips("About", tips);
    return TRUE;
}

bool CAboutDlg::OnCommand(UINT code, UINT id, HWND control)
{
    if (code == BN_CLICKED && id == IDC_ABOUT_EMAIL_BUTTON) {
        OpenLink(m_emailLink.GetLinkTarget());
        return true;
    }
    if (code == BN_CLICKED && id == IDC_ABOUT_WEB_BUTTON) {
        OpenLink(m_webLink.GetLinkTarget());
        return true;
    }
    return CDialog::OnCommand(code, id, control);
}
