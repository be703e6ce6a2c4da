// The main window's Start and Create Shortcut commands.
#include "zephlaunch_dlg.h"

#include "controller_launch.h"
#include "globals.h"
#include "gui_strings.h"
#include "message_box.h"
#include "window_position.h"

#include <shlobj.h>

#include <string>

void CZephlaunchDlg::StartRun()
{
    int answer = ShowMessageBox(m_hWnd, "Do you wish to close the Zephlaunch GUI before launching?",
                                MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return;

    ControllerStart start = StartController(m_hWnd, g_currentProfile);
    if (!start.started) {
        std::string text = "Error launching Zephlaunch Batch control!\n\nPath = " + start.commandLine
                           + "\n\nFolder = " + start.folder;
        ShowMessageBox(m_hWnd, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (answer == IDYES) {
        if (start.process)
            ::CloseHandle(start.process);
        SaveWindowRect(m_hWnd, gui::kMainWindowSection);
        EndDialog(0);
        return;
    }
    // The GUI waits, minimised and without handling messages, until the run has ended.
    ShowWindow(SW_MINIMIZE);
    if (start.process) {
        ::WaitForSingleObject(start.process, INFINITE);
        ::CloseHandle(start.process);
    }
    ShowWindow(SW_RESTORE);
}

bool CZephlaunchDlg::ChooseShortcutFolder(std::string* folder)
{
    char displayName[MAX_PATH] = {};
    BROWSEINFOA browse = {};
    browse.hwndOwner = m_hWnd;
    browse.pidlRoot = nullptr;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = "Select folder to place shortcut...";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&browse);
    if (!chosen)
        return false;
    char path[MAX_PATH] = {};
    bool ok = ::SHGetPathFromIDListA(chosen, path) != FALSE;
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(chosen);
        allocator->Release();
    }
    if (ok)
        *folder = path;
    return ok;
}

void CZephlaunchDlg::CreateShortcut()
{
    std::string folder;
    if (!ChooseShortcutFolder(&folder))
        return;
    if (WriteProfileShortcut(folder, g_currentProfile) == ShortcutResult::SaveFailed)
        ShowMessageBox(m_hWnd, "IPersistFile->Save() Error", MB_OK, "Error");
}
