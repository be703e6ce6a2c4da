#include "zephlaunch_app.h"

#include "dialogs/zephlaunch_dlg.h"

#include <commctrl.h>

BOOL CZephlaunchApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    CZephlaunchDlg* dialog = new CZephlaunchDlg();
    m_pMainWnd = dialog;
    dialog->DoModal();
    m_pMainWnd = nullptr;
    delete dialog;
    // No message loop: the program ends with the main window.
    return FALSE;
}
