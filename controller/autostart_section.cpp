// Phases 6 and 7: the [AutoStart] programs, started after the main application with
// their own pauses, and ended again after it has exited.
#include <windows.h>

#include <cstring>

#include "controller/autostart_launch.h"
#include "controller/log_message.h"
#include "controller/logic/command_line.h"
#include "controller/phases.h"
#include "controller/profile_reader.h"
#include "controller/run_journal.h"
#include "controller/run_state.h"
#include "profile/entry_values.h"
#include "profile/path_parts.h"
#include "profile/profile_keys.h"

namespace {

// "\r" and 57 blanks: erases the countdown line.
const char kBlankingLine[] = "\r                                                         ";

void CountDown(int delay)
{
    LogMessage(LOG_PLAIN, "\r\nWaiting %d seconds before continuing...", delay);
    while (delay > 0) {
        Sleep(1000);
        --delay;
        LogMessage(LOG_PLAIN, "\rWaiting %d seconds before continuing...", delay);
    }
    LogMessage(LOG_PLAIN, "%s", kBlankingLine);
}

void StartEntry(const char* path, const char* value)
{
    char arguments[profile::kValueBufferSize];
    std::memset(arguments, 0, sizeof arguments);
    profile::AutoStartArguments(value, arguments, sizeof arguments);
    const int delay = profile::AutoStartDelay(value);

    char shown[2 * profile::kValueBufferSize + 8];
    FormatLaunchText(shown, sizeof shown, path, arguments);
    LogMessage(LOG_PLAIN, "\r\nExecuting %s...", shown);

    PROCESS_INFORMATION process;
    if (!LaunchProgram(path, arguments, process)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Could not create process path = %s, error code %lu", shown,
                   GetLastError());
        return;  // and no pause for this entry
    }
    JournalAddAutoStarted(path, process.dwProcessId);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (delay != 0)
        CountDown(delay);  // a negative delay shows its line and does not pause
}

void StopEntry(const char* path)
{
    g_programFinder.m_findOnly = false;
    profile::CopyText(g_programFinder.m_programName, sizeof g_programFinder.m_programName,
                      profile::FileNameOfPath(path));
    g_programFinder.m_handled = false;
    // One pass: the first instance only.
    if (!g_programFinder.EnumerateProcesses())
        ReportProcessListFailure(g_programFinder.m_programName, "not stopped");
}

}  // namespace

void HandleAutoStartSection(AutoStartMode mode)
{
    WalkProfileSection(profile::kAutoStart, "", [mode](const char* key, const char* value) {
        // A key that does not fit the 255 characters of a profile value would be a cut path.
        if (std::strlen(key) > profile::kMaxKeyLength)
            return;
        if (mode == AutoStartMode::Start) {
            StartEntry(key, value);
        } else {
            StopEntry(key);
        }
    });
}
