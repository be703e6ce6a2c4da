#include "dialogs/preview_run_dlg.h"

#include "gui/logic/console_text.h"
#include "resource.h"

CPreviewRunDlg::CPreviewRunDlg() : CDialog(IDD_PREVIEW_RUN) {}

BOOL CPreviewRunDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_caption.empty())
        ::SetWindowTextA(m_hWnd, m_caption.c_str());
    HWND edit = GetDlgItem(IDC_PREVIEW_TEXT);
    // The controller's output starts each line with its line break; the window starts with the text.
    std::string text = gui_logic::ConsoleTextForEdit(m_text);
    while (text.compare(0, 2, "\r\n") == 0)
        text.erase(0, 2);
    ::SetWindowTextA(edit, text.c_str());
    ::SetFocus(GetDlgItem(IDCANCEL));
    return FALSE;  // the focus was set here, so the text is not selected
}
