// Phases 5 to 7: the main application, the auto-start programs, and the wait between.
#include <windows.h>

#include <cstring>

#include "controller/autostart_launch.h"
#include "controller/key_wait.h"
#include "controller/log_message.h"
#include "controller/logic/command_line.h"
#include "controller/phases.h"
#include "controller/profile_reader.h"
#include "controller/run_state.h"
#include "profile/path_parts.h"
#include "profile/priority_text.h"
#include "profile/profile_keys.h"

namespace {

// What the controller does with the main application: set its priority and wait for it.
// (PROCESS_ALL_ACCESS is avoided: its value grew with Windows Vista, and older systems
// refuse the larger mask.)
const DWORD kMainProcessRights = PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION | SYNCHRONIZE;

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
    if (!LaunchProgram(path, arguments, g_mainProcess)) {
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

// When the launched program is only a launcher, the main application is the first
// running process with the MainAppExe name; the launcher itself is left alone.
bool FindRealMainApplication()
{
    char exeName[profile::kValueBufferSize];
    ReadConfigString(profile::kMainAppExe, profile::kNotSet, exeName, sizeof exeName);
    if (exeName[0] == '\0' || std::strcmp(exeName, profile::kNotSet) == 0)
        return true;

    g_programFinder.m_findOnly = true;
    profile::CopyText(g_programFinder.m_programName, sizeof g_programFinder.m_programName, exeName);
    g_programFinder.m_handled = false;
    g_programFinder.m_foundPid = 0;
    if (!g_programFinder.EnumerateProcesses())
        ReportProcessListFailure(exeName, "not found");
    g_programFinder.m_findOnly = false;  // a pass that found nothing leaves it set

    CloseMainProcessHandles();
    g_mainProcess.dwProcessId = g_programFinder.m_foundPid;
    g_mainProcess.hProcess = g_mainProcess.dwProcessId == 0
                                 ? nullptr
                                 : OpenProcess(kMainProcessRights, FALSE, g_mainProcess.dwProcessId);
    if (g_mainProcess.hProcess == nullptr) {
        // "Not found" is reported like a process that cannot be opened.
        const DWORD error = g_mainProcess.dwProcessId == 0 ? ERROR_INVALID_PARAMETER : GetLastError();
        LogMessage(LOG_ERROR, "\r\nERROR:  Unable to open process, error code %lu", error);
        return false;
    }
    return true;
}

void SetMainApplicationPriority()
{
    char priority[profile::kValueBufferSize];
    ReadConfigString(profile::kFsPriority, profile::kDefaultPriority, priority, sizeof priority);
    if (!SetPriorityClass(g_mainProcess.hProcess, profile::PriorityClassFromText(priority))) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Could not set priority, error code %lu", GetLastError());
    }
}

void WaitForMainApplication(bool launched)
{
    if (!launched) {
        LogMessage(LOG_PLAIN, "\r\nWaiting for user to press a key...");
        LogMessage(LOG_HEADING, "\r\nPress any key to continue...");
        WaitForKey();
        return;
    }
    LogMessage(LOG_PLAIN, "\r\nWaiting for Main Application to finish");
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
    if (launch) {
        if (!LaunchMainApplication())
            return false;
        WaitForStartUp();
        if (!FindRealMainApplication())
            return false;
        SetMainApplicationPriority();
    }

    LogMessage(LOG_HEADING, "\r\nPhase 6:  Auto Starting Programs");
    HandleAutoStartSection(AutoStartMode::Start);

    WaitForMainApplication(launch);

    LogMessage(LOG_HEADING, "\r\nPhase 7:  Stopping programs that were auto started");
    HandleAutoStartSection(AutoStartMode::Stop);
    return true;
}
