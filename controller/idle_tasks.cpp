// Phase 1: makes Windows run its pending idle-time tasks now, so that they do not start
// while the main application runs. The entry point exists on Windows XP and Server 2003.
#include <windows.h>

#include "controller/log_message.h"
#include "controller/phases.h"
#include "controller/profile_reader.h"
#include "profile/profile_keys.h"

namespace {

using ProcessIdleTasksFn = BOOL(WINAPI*)();

bool IsXpOrServer2003(const OSVERSIONINFOA& version)
{
    return version.dwMajorVersion == 5 && version.dwMinorVersion >= 1;
}

}  // namespace

void RunIdleTasksStep(const OSVERSIONINFOA& version)
{
    if (ReadConfigInt(profile::kProcIdleTasks, 0) != 1) {
        LogMessage(LOG_WARNING, "\r\nSkipping Phase 1: Forcing Idle tasks to execute - not enabled");
        return;
    }
    if (!IsXpOrServer2003(version)) {
        // "\r\b" on purpose: the warning overwrites the phase heading on the console.
        LogMessage(LOG_WARNING,
                   "\r\bWARNING: Can only use ProcessIdleTasks on Windows XP or newer.  Skipping...");
        return;
    }
    LogMessage(LOG_WARNING,
               "\r\nWARNING: This *may* take up to 15 minutes or more. Your hard drive will be active during "
               "this process.");
    HMODULE advapi = LoadLibraryA("advapi32.dll");
    if (advapi == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR:  Unable to LoadLibrary(\"advapi32.dll\") - error code %lu",
                   GetLastError());
        return;
    }
    auto processIdleTasks = reinterpret_cast<ProcessIdleTasksFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "ProcessIdleTasks")));
    if (processIdleTasks == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR:  Unable to GetProcAddress - error code %lu", GetLastError());
        FreeLibrary(advapi);
        return;
    }
    processIdleTasks();  // its result says nothing the run acts on
    FreeLibrary(advapi);
}
