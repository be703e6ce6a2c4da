// zephrun: one run of one profile, in nine phases, then the end-of-run options.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "controller/console_close.h"
#include "controller/dry_run.h"
#include "controller/journal_restore.h"
#include "controller/keep_awake.h"
#include "controller/key_wait.h"
#include "controller/log_message.h"
#include "controller/logic/command_line.h"
#include "controller/logic/memory_figures.h"
#include "controller/phases.h"
#include "controller/power_plan.h"
#include "controller/profile_reader.h"
#include "controller/run_journal.h"
#include "controller/run_state.h"
#include "controller/system_memory.h"
#include "controller/user_rights_start.h"
#include "controller/version_text.h"
#include "profile/profile_keys.h"
#include "runtime/format_text.h"

namespace {

void PrintFreeMemory(const char* when)
{
    char line[160];
    FormatFreeMemoryLine(line, sizeof line, when, QueryPhysicalMemory().available);
    LogMessage(LOG_PLAIN, "%s", line);
}

// A dry run ends at once: it runs without a window of its own (the GUI's preview), where
// no key can be pressed.
void RefuseAndWait(bool dryRun)
{
    if (dryRun)
        return;
    LogMessage(LOG_HEADING, "\r\nPress any key to continue...");
    WaitForKey();
}

// The argument must name a file that can be opened for reading (a folder cannot).
bool ProfileFileExists(const char* path)
{
    FILE* file = std::fopen(path, "r");
    if (file == nullptr)
        return false;
    std::fclose(file);
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsNtFamily(const OSVERSIONINFOA& version) { return version.dwPlatformId == VER_PLATFORM_WIN32_NT; }

void ReadWindowsVersion(OSVERSIONINFOA& version)
{
    ZeroMemory(&version, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Unable to read the Windows version - error code %lu",
                   GetLastError());
    }
}

// zephrun --restore: puts back what unfinished runs stopped. Exit code 1 when something
// could not be put back or another restore holds the lock, else 0 (also when there was nothing to restore).
int RunRestore()
{
    OSVERSIONINFOA version;
    ReadWindowsVersion(version);
    switch (RestoreUnfinishedRuns(false, IsNtFamily(version))) {
    case RestoreResult::Nothing:
        LogMessage(LOG_HEADING, "\r\nNothing to restore.\r\n");
        return 0;
    case RestoreResult::Restored:
        LogMessage(LOG_HEADING, "\r\nRestore finished.\r\n");
        return 0;
    case RestoreResult::Busy:
        return 1;
    case RestoreResult::Failed:
    default:
        LogMessage(LOG_ERROR, "\r\nRestore finished, but not everything could be restored.\r\n");
        return 1;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    g_console = GetStdHandle(STD_OUTPUT_HANDLE);
    InitializeCriticalSection(&g_outputLock);
    InitConsoleOutput();

    LogMessage(LOG_HEADING, "\r\n%s", kControllerBanner);
    if (!SetConsoleTitleA(kControllerTitle)) {
        // No console (output redirected by a caller that created none): nothing to title.
    }

    if (argc < 2) {
        LogMessage(LOG_ERROR, "\r\nMissing command line to specify ini file to use!  Program terminating...");
        RefuseAndWait(false);
        return 0;
    }

    // "--user-process <id>" first: the process (the GUI's) whose unelevated token an elevated
    // run may start programs with.
    unsigned long callerProcessId = 0;
    if (argc >= 3 && ParseRunSwitch(argv[1]) == RunSwitch::UserProcess) {
        if (!ParseProcessId(argv[2], callerProcessId))
            callerProcessId = 0;  // not a process id: the other ways to find the token remain
        argc -= 2;
        argv += 2;
        if (argc < 2) {
            LogMessage(LOG_ERROR,
                       "\r\nMissing command line to specify ini file to use!  Program terminating...");
            RefuseAndWait(false);
            return 0;
        }
    }
    const RunSwitch runSwitch = ParseRunSwitch(argv[1]);
    // Before anything is stopped: an elevated run starts programs with the user's own rights.
    PrepareUserRightsStart(callerProcessId);
    if (runSwitch == RunSwitch::Restore) {
        if (argc >= 3)
            CopyOutputToFile(argv[2]);
        return RunRestore();
    }
    const bool dryRun = runSwitch == RunSwitch::DryRun;
    if (dryRun && argc < 3) {
        LogMessage(LOG_ERROR, "\r\nMissing command line to specify ini file to use!  Program terminating...");
        RefuseAndWait(true);
        return 0;
    }

    // A path that does not fit the 511 characters of g_profilePath is refused like a
    // missing file rather than cut off (a cut path could name another file).
    // A relative path is made absolute first: the private-profile functions would look for
    // it in the Windows folder, not in the working folder where it was found.
    const char* argument = dryRun ? argv[2] : argv[1];
    char fullPath[sizeof g_profilePath];
    const DWORD fullLength = std::strlen(argument) < sizeof g_profilePath
                                 ? GetFullPathNameA(argument, sizeof fullPath, fullPath, nullptr)
                                 : 0;
    const bool resolved = fullLength != 0 && fullLength < sizeof fullPath;
    if (!resolved || !ProfileFileExists(fullPath)) {
        LogMessage(LOG_ERROR, "\r\nini file '%s' not found !  Program terminating...",
                   resolved ? fullPath : argument);
        RefuseAndWait(dryRun);
        return 0;
    }
    FormatText(g_profilePath, sizeof g_profilePath, "%s", fullPath);

    // A dry run writes no log file.
    g_logToFile = dryRun ? 0 : ReadConfigInt(profile::kLogging, 0);
    LogMessage(LOG_HEADING, "\r\nUsing ini file: %s", g_profilePath);
    g_programFinder.LoadHelperLibraries();
    g_nonResponseSeconds = ReadConfigInt(profile::kNonResponse, profile::kDefaultNonResponseSeconds);
    PrintFreeMemory("start");

    OSVERSIONINFOA version;
    ReadWindowsVersion(version);
    if (dryRun) {
        RunDryRun(version);
        return 0;
    }

    // What a run that died left stopped goes back first; then this run keeps its own journal.
    // A run with nothing to stop does neither: it does not even load the shell's library to
    // find the journal folder.
    const bool journal = JournalNeeded();
    InstallConsoleHandler(IsNtFamily(version), journal);
    if (journal) {
        RestoreUnfinishedRuns(true, IsNtFamily(version));
        JournalBegin();
    }

    LogMessage(LOG_HEADING, "\r\nPhase 1: Forcing Idle tasks to execute.");
    RunIdleTasksStep(version);

    LogMessage(LOG_HEADING, "\r\nPhase 2:  Stopping Programs");
    HandleProgramsSection(ProgramsMode::Stop);

    LogMessage(LOG_HEADING, "\r\nPhase 3: Stopping Services");
    if (IsNtFamily(version)) {
        HandleServicesSection(ServicesMode::Stop);
    } else {
        LogMessage(LOG_HEADING, "\r\n...skipping since OS is Windows 9x/ME");
    }

    if (ReadConfigInt(profile::kDefragMem, 0) == 1) {
        LogMessage(LOG_HEADING, "\r\nPhase 4: Defragmenting memory (this may take a few minutes)\r\n");
        DefragmentMemory();
    } else {
        LogMessage(LOG_HEADING, "\r\nPhase 4: Defragmenting memory...skipping");
    }
    PrintFreeMemory("end");

    HoldIfTheConsoleCloses();
    LogMessage(LOG_HEADING, "\r\nPhase 5: Starting Main Application");
    const bool keepAwake = ReadConfigInt(profile::kKeepAwake, 0) == 1;
    if (ReadConfigInt(profile::kPowerPlan, 0) == 1)
        SwitchPowerPlanForRun(version);
    if (keepAwake)
        BeginKeepAwake();
    if (!RunMainApplication()) {
        LogMessage(LOG_HEADING, "\r\nPhase 5:  Skipping...");
        LogMessage(LOG_HEADING, "\r\nPhase 6:  Skipping...");
        LogMessage(LOG_HEADING, "\r\nPhase 7:  Skipping...");
    }
    if (keepAwake)
        EndKeepAwake();

    ClaimTheRestore();
    LogMessage(LOG_HEADING, "\r\nPhase 8:  Restarting Services");
    SwitchPowerPlanBack();
    if (IsNtFamily(version)) {
        HandleServicesSection(ServicesMode::Start);
    } else {
        LogMessage(LOG_HEADING, "\r\n...skipping since OS is Windows 9x/ME");
    }

    LogMessage(LOG_HEADING, "\r\nPhase 9:  Restarting Programs");
    HandleProgramsSection(ProgramsMode::Restart);
    const bool shellValueBack = RestoreShellRestartAtEnd();
    JournalEnd(!shellValueBack);
    RestoreFinished();

    LogMessage(LOG_HEADING, "\r\nZephlaunch Control Program finished.\r\n");

    if (ReadConfigInt(profile::kPauseAtEnd, 0) != 0) {
        LogMessage(LOG_HEADING, "\r\nPress any key to continue...");
        WaitForKey();
    }
    if (ReadConfigInt(profile::kShutdownAfterTermination, 0) == 1) {
        LogMessage(LOG_WARNING, "\r\nSystem Shutdown in progress...");
        PowerOff(false, version);
    }
    if (ReadConfigInt(profile::kRestartAfterTermination, 0) == 1) {
        LogMessage(LOG_WARNING, "\r\nSystem Restart in progress...");
        PowerOff(true, version);
    }
    return 0;
}
