#include "settings_setup.h"

#include "globals.h"
#include "gui_strings.h"
#include "gui/logic/path_join.h"
#include "profile/profile_keys.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

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

// Creates a folder; an existing one is fine, a file of that name is not.
bool CreateFolder(HWND owner, const char* path)
{
    if (::CreateDirectoryA(path, nullptr))
        return true;
    DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS) {
        const DWORD attributes = ::GetFileAttributesA(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
        if (attributes == INVALID_FILE_ATTRIBUTES)
            error = ::GetLastError();
    }
    ShowFolderError(owner, path, error);
    return false;
}

// Adds "<verb> <file>[ to <to>]: error <n>" as a line to failures.
void AddFailure(std::string* failures, DWORD error, const char* verb, const char* file,
                const char* to = nullptr)
{
    *failures += std::string(verb) + " " + file + (to ? std::string(" to ") + to : std::string()) + ": error "
                 + std::to_string(static_cast<long>(error)) + "\r\n";
}

// Copies an old file of the Windows folder over its new place, then removes the old one;
// each failed step is added to failures.
void MoveOldFile(const char* from, const char* to, std::string* failures)
{
    if (!FileIsReadable(from))
        return;
    if (!::CopyFileA(from, to, FALSE))
        AddFailure(failures, ::GetLastError(), "Copy", from, to);
    else if (!::DeleteFileA(from))
        AddFailure(failures, ::GetLastError(), "Delete", from);
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
    if (!FileIsReadable(oldWindowPos)
        || ::GetPrivateProfileIntA(gui::kMovedSection, gui::kMovedKey, 0, g_windowPosFile) != 0)
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

    // The note in the new window-position file makes this happen only once, also where the
    // old files cannot be removed (they belong to an administrator from Vista on). Without
    // the note, removing the old window-position file does; without either it would run
    // at every start, so nothing is moved.
    std::string failures;
    if (!::DeleteFileA(g_windowPosFile) && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        AddFailure(&failures, ::GetLastError(), "Delete", g_windowPosFile);
    const bool noted =
        ::WritePrivateProfileStringA(gui::kMovedSection, gui::kMovedKey, "1", g_windowPosFile) != FALSE;
    if (!noted)
        AddFailure(&failures, ::GetLastError(), "Write", g_windowPosFile);
    if (!::DeleteFileA(oldWindowPos)) {
        AddFailure(&failures, ::GetLastError(), "Delete", oldWindowPos);
        if (!noted) {
            failures =
                "The move from the Windows folder cannot be recorded, so nothing was moved:\r\n\n" + failures;
            ::MessageBoxA(owner, failures.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    MoveOldFile(oldServiceHelp, g_serviceHelpFile, &failures);
    MoveOldFile(oldDefaultProfile, g_currentProfile.c_str(), &failures);

    std::snprintf(text, sizeof text,
                  "If you created any profiles, you will need to move them to the following folder:\r\n\n%s",
                  g_profilesFolder);
    ::MessageBoxA(owner, text, kCaption, MB_OK | MB_ICONINFORMATION);
    if (!failures.empty()) {
        failures = "These steps of the move from the Windows folder failed:\r\n\n" + failures;
        ::MessageBoxA(owner, failures.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION);
    }
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
