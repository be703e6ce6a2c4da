// Phases 6 and 7: the [AutoStart] programs, started after the main application with
// their own pauses, and ended again after it has exited.
#include <windows.h>

#include <cstring>
#include <vector>

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
#include "runtime/entry_point.h"

namespace {

// An auto-start program this run started. Its handle is held until phase 7, so that its
// process id cannot pass to another process meanwhile.
struct Started {
    char name[profile::kValueBufferSize];  // its file name
    DWORD processId;
    HANDLE process;
};
std::vector<Started> g_started;
unsigned long long g_phase6Start = 0;  // when phase 6 began (FILETIME units, UTC)

unsigned long long FileTimeValue(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// When a process started (FILETIME units, UTC); false where it cannot be told: a process
// that refuses the query right, or Windows 9x/ME, whose GetProcessTimes does nothing.
bool ProcessStartTime(DWORD processId, unsigned long long& startTime)
{
    using GetProcessTimesFn = BOOL(WINAPI*)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);
    const auto getProcessTimes =
        LookUp<GetProcessTimesFn>(GetModuleHandleA("kernel32.dll"), "GetProcessTimes");
    if (getProcessTimes == nullptr)
        return false;
    // The limited right where Windows has it (Vista and later; older versions refuse the bit).
    const DWORD version = GetVersion();
    const bool vistaOrLater = (version & 0x80000000u) == 0 && LOBYTE(LOWORD(version)) >= 6;
    HANDLE process = OpenProcess(vistaOrLater ? 0x1000 /* PROCESS_QUERY_LIMITED_INFORMATION */
                                              : PROCESS_QUERY_INFORMATION,
                                 FALSE, processId);
    if (process == nullptr)
        return false;
    FILETIME created, exited, kernel, user;
    const bool known = getProcessTimes(process, &created, &exited, &kernel, &user) != FALSE;
    CloseHandle(process);
    startTime = FileTimeValue(created);
    return known && startTime != 0;
}

bool IsStartedProcess(DWORD processId, void* started)
{
    return processId == static_cast<const Started*>(started)->processId;
}

// A program that handed over to a second copy of itself: a copy that started after phase
// 6 began. One that ran before (the user's own) is never taken for it.
bool StartedDuringRun(DWORD processId, void*)
{
    unsigned long long startTime = 0;
    return ProcessStartTime(processId, startTime) && startTime >= g_phase6Start;
}

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
    Started started;
    profile::CopyText(started.name, sizeof started.name, profile::FileNameOfPath(path));
    started.processId = process.dwProcessId;
    started.process = process.hProcess;
    g_started.push_back(started);
    if (delay != 0)
        CountDown(delay);  // a negative delay shows its line and does not pause
}

// Ends the process the run started, or, when that one has gone, a copy that started after
// phase 6 began. One pass, so one process at most; nothing found prints nothing.
void StopEntry(Started& started)
{
    const bool running = WaitForSingleObject(started.process, 0) != WAIT_OBJECT_0;
    g_programFinder.m_findOnly = false;
    profile::CopyText(g_programFinder.m_programName, sizeof g_programFinder.m_programName, started.name);
    g_programFinder.m_handled = false;
    g_programFinder.m_accept = running ? IsStartedProcess : StartedDuringRun;
    g_programFinder.m_acceptContext = &started;
    if (!g_programFinder.EnumerateProcesses())
        ReportProcessListFailure(g_programFinder.m_programName, "not stopped");
    g_programFinder.m_accept = nullptr;
    g_programFinder.m_acceptContext = nullptr;
    CloseHandle(started.process);
    started.process = nullptr;
}

}  // namespace

void HandleAutoStartSection(AutoStartMode mode)
{
    if (mode == AutoStartMode::Stop) {
        for (Started& started : g_started)
            StopEntry(started);
        g_started.clear();
        return;
    }
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    g_phase6Start = FileTimeValue(now);
    WalkProfileSection(profile::kAutoStart, "", [](const char* key, const char* value) {
        // A key that does not fit the 255 characters of a profile value would be a cut path.
        if (std::strlen(key) <= profile::kMaxKeyLength)
            StartEntry(key, value);
    });
}
