// Shutting down or restarting the computer after the run. Every failure is silent: the
// controller then simply ends (Windows 9x/ME has no tokens, so nothing happens there).
#include <windows.h>

#include "controller/phases.h"
#include "controller/window_calls.h"

namespace {

// SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_MAINTENANCE
const DWORD kShutdownReason = 0x00040001;

bool EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges;
    ZeroMemory(&privileges, sizeof privileges);
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = false;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        // AdjustTokenPrivileges succeeds even when the privilege is not held; only the
        // last error (ERROR_NOT_ALL_ASSIGNED) tells.
        SetLastError(ERROR_SUCCESS);
        enabled = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)
                  && GetLastError() == ERROR_SUCCESS;
    }
    CloseHandle(token);
    return enabled;
}

}  // namespace

bool PowerOff(bool restart)
{
    if (!EnableShutdownPrivilege())
        return false;
    const UINT flags = (restart ? EWX_REBOOT : EWX_SHUTDOWN) | EWX_FORCE;
    return window_calls::ExitWindowsEx(flags, kShutdownReason) != FALSE;
}
