// bench_configure_dialog PROFILE OPTIONS_FILE: runs the Configure dialog on PROFILE as
// the main window's Configure button does (OPTIONS_FILE stands in for the
// window-position file), so that bench/configure_open.sh can time it to painted.
#include "dialogs/configure_dlg.h"
#include "framework/win_app.h"
#include "globals.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

namespace {

CWinApp theBenchApp("Zephlaunch");

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (__argc != 3) {
        ::MessageBoxA(nullptr, "usage: bench_configure_dialog PROFILE OPTIONS_FILE", "Zephlaunch", MB_OK);
        return 2;
    }
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    g_currentProfile = __argv[1];
    lstrcpynA(g_windowPosFile, __argv[2], MAX_PATH);
    g_showToolTips = 1;
    CConfigureDlg dialog;
    return static_cast<int>(dialog.DoModal());
}
