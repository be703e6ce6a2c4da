// Phases 5 to 7: the main application, the auto-start programs, and the wait between.
#include <windows.h>

#include <cstring>

#include "controller/key_wait.h"
#include "controller/log_message.h"
#include "controller/main_app_start.h"
#include "controller/main_app_wait.h"
#include "controller/logic/command_line.h"
#include "controller/phases.h"
#include "controller/profile_reader.h"
#include "controller/run_state.h"
#include "profile/path_parts.h"
#include "profile/priority_text.h"
#include "profile/profile_keys.h"

namespace {

void CloseMainProcessHandles()
{
    if (g_mainProcess.hThread != nullptr)
        CloseHandle(g_mainProcess.hThread);
    if (g_mainProcess.hProcess != nullptr)
        CloseHandle(g_mainProcess.hProcess);
    g_mainProcess.hThread = nullptr;
    g_mainProcess.hProcess = nullptr;
}

bool LaunchMainApplication()
{
    char path[profile::kValueBufferSize];
    char arguments[profile::kValueBufferSize];
    std::memset(arguments, 0, sizeof arguments);
    ReadConfigString(profile::kFsPath, profile::kNotSet, path, sizeof path);
    ReadConfigString(profile::kFsCmdLine, "", arguments, sizeof arguments);

    if (std::strcmp(path, profile::kNotSet) == 0) {
        LogMessage(
            LOG_ERROR,
            "\r\nERROR: Main Application program path is not set!  Please run Zephlaunch to configure...");
        return false;
    }

    char shown[2 * profile::kValueBufferSize + 8];
    FormatLaunchText(shown, sizeof shown, path, arguments);
    LogMessage(LOG_PLAIN, "\r\nStarting %s", shown);
    if (!StartMainApplication(path, arguments, g_mainProcess)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Could not create process path = %s, error code %lu", path,
                   GetLastError());
        return false;
    }
    return true;
}

void WaitForStartUp()
{
    const int delay = ReadConfigInt(profile::kAutoStartDelay, profile::kDefaultAutoStartDelay);
    LogMessage(LOG_PLAIN, "\r\nWaiting %d seconds for Main Application to finish starting...", delay);
    // A second at a time: a negative value does not pause (instead of turning into an
    // unsigned wait of weeks), and no value overflows the milliseconds of one Sleep.
    for (int second = 0; second < delay; ++second)
        Sleep(1000);
}

DWORD ConfiguredPriorityClass()
{
    char priority[profile::kValueBufferSize];
    ReadConfigString(profile::kFsPriority, profile::kDefaultPriority, priority, sizeof priority);
    return profile::PriorityClassFromText(priority);
}

// The real main application when the launched program is only a launcher: every process
// with the MainAppExe name (empty or "<not set>": none, the launched program is it).
bool RealMainAppName(char* exeName, std::size_t size)
{
    ReadConfigString(profile::kMainAppExe, profile::kNotSet, exeName, size);
    return exeName[0] != '\0' && std::strcmp(exeName, profile::kNotSet) != 0;
}

// Finds the real main application; the launcher itself is left alone (it may end at any
// time). False, after the error line, when no copy started within mainappwait seconds.
bool FindRealMainApplication(const char* exeName)
{
    CloseMainProcessHandles();
    const int waitSeconds = ReadConfigInt(profile::kMainAppWait, profile::kDefaultMainAppWait);
    if (!FindMainAppCopies(exeName, waitSeconds, ConfiguredPriorityClass())) {
        // Reported as OpenProcess reports the id of "nothing found" (0).
        LogMessage(LOG_ERROR, "\r\nERROR:  Unable to open process, error code %lu",
                   static_cast<unsigned long>(ERROR_INVALID_PARAMETER));
        return false;
    }
    return true;
}

void WaitForMainApplication(bool launched, bool realMainApp)
{
    if (!launched) {
        LogMessage(LOG_PLAIN, "\r\nWaiting for user to press a key...");
        LogMessage(LOG_HEADING, "\r\nPress any key to continue...");
        WaitForKey();
        return;
    }
    LogMessage(LOG_PLAIN, "\r\nWaiting for Main Application to finish");
    if (realMainApp) {
        WaitForMainAppCopies();
        return;
    }
    if (WaitForSingleObject(g_mainProcess.hProcess, INFINITE) == WAIT_FAILED) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to wait for the Main Application, error code %lu",
                   GetLastError());
    }
    CloseMainProcessHandles();
}

}  // namespace

bool RunMainApplication()
{
    const bool launch = ReadConfigInt(profile::kDoNotLaunchApp, 0) == 0;
    char exeName[profile::kValueBufferSize];
    const bool realMainApp = launch && RealMainAppName(exeName, sizeof exeName);
    if (launch) {
        if (!LaunchMainApplication())
            return false;
        WaitForStartUp();
        if (realMainApp) {
            if (!FindRealMainApplication(exeName))
                return false;
        } else {
            ApplyMainAppPriority(g_mainProcess.hProcess, ConfiguredPriorityClass());
        }
    }

    LogMessage(LOG_HEADING, "\r\nPhase 6:  Auto Starting Programs");
    HandleAutoStartSection(AutoStartMode::Start);

    WaitForMainApplication(launch, realMainApp);

    LogMessage(LOG_HEADING, "\r\nPhase 7:  Stopping programs that were auto started");
    HandleAutoStartSection(AutoStartMode::Stop);
    return true;
}
