// Shutting down or restarting the computer after the run. Each step that fails is reported
// and ends the attempt: the controller then simply ends.
#include <windows.h>

#include "controller/log_message.h"
#include "controller/phases.h"
#include "controller/window_calls.h"

namespace {

// SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_MAINTENANCE
const DWORD kShutdownReason = 0x00040001;

#ifndef EWX_FORCEIFHUNG
#define EWX_FORCEIFHUNG 0x00000010
#endif

bool Failed(const char* step, DWORD error)
{
    LogMessage(LOG_ERROR, "\r\nERROR: Unable to end the Windows session - %s failed, error %lu", step, error);
    return false;
}

bool EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return Failed("OpenProcessToken", GetLastError());
    TOKEN_PRIVILEGES privileges;
    ZeroMemory(&privileges, sizeof privileges);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    const char* step = "LookupPrivilegeValueA";
    DWORD error = ERROR_SUCCESS;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        // AdjustTokenPrivileges succeeds even when the privilege is not held; only the
        // last error (ERROR_NOT_ALL_ASSIGNED) tells.
        step = "AdjustTokenPrivileges";
        SetLastError(ERROR_SUCCESS);
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        error = GetLastError();
    } else {
        error = GetLastError();
    }
    CloseHandle(token);
    return error == ERROR_SUCCESS || Failed(step, error);
}

}  // namespace

bool PowerOff(bool restart, const OSVERSIONINFOA& version)
{
    const bool ntFamily = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    // Windows 9x/ME has no tokens (OpenProcessToken is not implemented) and needs no privilege.
    if (ntFamily && !EnableShutdownPrivilege())
        return false;
    // EWX_FORCE would end every program without asking, losing unsaved work; EWX_FORCEIFHUNG
    // (Windows 2000 and later) ends only those that do not answer. Earlier systems know
    // neither of the two: there a program may hold the shutdown up, and nothing is lost.
    UINT flags = restart ? EWX_REBOOT : EWX_SHUTDOWN;
    if (ntFamily && version.dwMajorVersion >= 5)
        flags |= EWX_FORCEIFHUNG;
    if (!window_calls::ExitWindowsEx(flags, kShutdownReason))
        return Failed("ExitWindowsEx", GetLastError());
    return true;
}
