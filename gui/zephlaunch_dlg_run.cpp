// The main window's Start and Create Shortcut commands.
#include "zephlaunch_dlg.h"

#include "controller_launch.h"
#include "framework/com_ptr.h"
#include "globals.h"
#include "gui_strings.h"
#include "message_box.h"
#include "window_position.h"

#include <shlobj.h>

#include <string>

void CZephlaunchDlg::StartRun()
{
    if (ControllerPath().empty()) {
        ShowMessageBox(m_hWnd, gui::kOwnFolderUnknown, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int answer = ShowMessageBox(m_hWnd, "Do you wish to close the Zephlaunch GUI before launching?",
                                MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return;

    ControllerStart start = StartController(m_hWnd, g_currentProfile);
    if (!start.started && start.elevatedVerb && start.error == ERROR_CANCELLED) {
        ShowMessageBox(m_hWnd, "The run was cancelled: it was not allowed to run with administrator rights.",
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
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
    // The browser's tree is made of the shell's COM objects.
    if (!EnsureComInitialised()) {
        // It still shows the file system without them.
    }
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
    if (ControllerPath().empty()) {
        ShowMessageBox(m_hWnd, gui::kOwnFolderUnknown, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::string folder;
    if (!ChooseShortcutFolder(&folder))
        return;
    const ShortcutResult result = WriteProfileShortcut(folder, g_currentProfile);
    if (result == ShortcutResult::SaveFailed)
        ShowMessageBox(m_hWnd, "IPersistFile->Save() Error", MB_OK, "Error");
    else if (result == ShortcutResult::NoController)
        ShowMessageBox(m_hWnd, gui::kOwnFolderUnknown, MB_OK | MB_ICONEXCLAMATION);
}
