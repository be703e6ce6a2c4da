#include "settings_setup.h"

#include "globals.h"
#include "gui_strings.h"
#include "gui/logic/path_join.h"
#include "profile/profile_keys.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

namespace {

const char* const kCaption = kAppCaption;

void ShowFolderError(HWND owner, const char* path, DWORD error)
{
    char text[MAX_PATH + 128];
    std::snprintf(text, sizeof text,
                  "Unable to create application data folder for Zephlaunch!\r\nPath = %s\r\nError = %d", path,
                  static_cast<int>(error));
    ::MessageBoxA(owner, text, kCaption, MB_OK | MB_ICONHAND);
}

// Creates a folder; an existing one is fine.
bool CreateFolder(HWND owner, const char* path)
{
    if (::CreateDirectoryA(path, nullptr))
        return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS)
        return true;
    ShowFolderError(owner, path, error);
    return false;
}

using SHGetSpecialFolderPathAProc = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

// The application data folder. SHGetSpecialFolderPathA needs shell32 4.71 (NT 4.0 without
// the desktop update lacks it): without it the folder comes from its item id list,
// created when missing.
bool GetAppDataFolder(char* path)
{
    HMODULE shell = ::GetModuleHandleA("shell32.dll");
    SHGetSpecialFolderPathAProc getPath =
        shell ? reinterpret_cast<SHGetSpecialFolderPathAProc>(
            reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetSpecialFolderPathA")))
              : nullptr;
    if (getPath)
        return getPath(nullptr, path, CSIDL_APPDATA, TRUE) != FALSE;
    LPITEMIDLIST list = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &list)) || !list)
        return false;
    const bool found = ::SHGetPathFromIDListA(list, path) != FALSE;
    LPMALLOC allocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(list);
        allocator->Release();
    }
    if (found && !::CreateDirectoryA(path, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    return found;
}

}  // namespace

bool FileIsReadable(const char* path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool SetUpSettingsFolders(HWND owner)
{
    char appData[MAX_PATH] = {};
    if (!GetAppDataFolder(appData)) {
        DWORD error = ::GetLastError();
        ShowFolderError(owner, appData, error ? error : ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (!gui_logic::JoinPath(g_settingsFolder, MAX_PATH, appData, gui::kSettingsFolderName)) {
        ShowFolderError(owner, appData, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (!CreateFolder(owner, g_settingsFolder))
        return false;
    if (!gui_logic::JoinPath(g_profilesFolder, MAX_PATH, g_settingsFolder, gui::kProfilesFolderName)) {
        ShowFolderError(owner, g_settingsFolder, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (!CreateFolder(owner, g_profilesFolder))
        return false;

    char defaultProfile[MAX_PATH];
    if (!gui_logic::JoinPath(g_windowPosFile, MAX_PATH, g_settingsFolder, gui::kWindowPosFile)
        || !gui_logic::JoinPath(g_serviceHelpFile, MAX_PATH, g_settingsFolder, gui::kServiceHelpFile)
        || !gui_logic::JoinPath(defaultProfile, MAX_PATH, g_profilesFolder, gui::kDefaultProfileFile)) {
        ShowFolderError(owner, g_settingsFolder, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    g_currentProfile = defaultProfile;
    return true;
}

void MigrateFromWindowsFolder(HWND owner)
{
    char windowsFolder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(windowsFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    char oldWindowPos[MAX_PATH];
    char oldServiceHelp[MAX_PATH];
    char oldDefaultProfile[MAX_PATH];
    if (!gui_logic::JoinPath(oldWindowPos, MAX_PATH, windowsFolder, gui::kWindowPosFile)
        || !gui_logic::JoinPath(oldServiceHelp, MAX_PATH, windowsFolder, gui::kServiceHelpFile)
        || !gui_logic::JoinPath(oldDefaultProfile, MAX_PATH, windowsFolder, gui::kDefaultProfileFile))
        return;
    if (!FileIsReadable(oldWindowPos))
        return;

    char text[MAX_PATH + 512];
    std::snprintf(
        text, sizeof text,
        "Zephlaunch now stores all configuration and profiles in a folder under the user profile.\r\n\n"
        "Zephlaunch will now move your configuration and profile files from the Windows folder to this new "
        "folder.\r\n"
        "NOTE:  Window positions will be reset since they have changed.\r\n\nNew folder = %s",
        g_settingsFolder);
    ::MessageBoxA(owner, text, kCaption, MB_OK | MB_ICONINFORMATION);

    // Removing the old window-position file is what makes this happen only once.
    ::DeleteFileA(g_windowPosFile);
    ::DeleteFileA(oldWindowPos);
    if (FileIsReadable(oldServiceHelp)) {
        ::DeleteFileA(g_serviceHelpFile);
        ::MoveFileA(oldServiceHelp, g_serviceHelpFile);
    }
    if (FileIsReadable(oldDefaultProfile)) {
        ::DeleteFileA(g_currentProfile.c_str());
        ::MoveFileA(oldDefaultProfile, g_currentProfile.c_str());
    }

    std::snprintf(text, sizeof text,
                  "If you created any profiles, you will need to move them to the following folder:\r\n\n%s",
                  g_profilesFolder);
    ::MessageBoxA(owner, text, kCaption, MB_OK | MB_ICONINFORMATION);
}

bool CopyShippedServiceHelpFile()
{
    if (FileIsReadable(g_serviceHelpFile))
        return false;
    char program[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    char* slash = std::strrchr(program, '\\');
    if (!slash)
        return false;
    *slash = '\0';
    char shipped[MAX_PATH];
    if (!gui_logic::JoinPath(shipped, MAX_PATH, program, "zephlaunch_service.ini")
        || !FileIsReadable(shipped))
        return false;
    return ::CopyFileA(shipped, g_serviceHelpFile, TRUE) != FALSE;
}

void EnsureDefaultProfile()
{
    if (FileIsReadable(g_currentProfile.c_str()))
        return;
    ::WritePrivateProfileStringA(profile::kConfiguration, profile::kDescription,
                                 "This is the default profile", g_currentProfile.c_str());
}

int ReadShowToolTips()
{
    return ::GetPrivateProfileIntA(gui::kProgramOptionsSection, gui::kShowToolTipsKey, 1, g_windowPosFile)
                   != 0
               ? 1
               : 0;
}
