// Phases 2 and 9: stopping and restarting the programs of [Programs]. One worker thread per
// entry, started in file order in batches of at most 47 that are each waited for.
#include <windows.h>

#include <cstring>

#include "controller/log_message.h"
#include "controller/logic/command_line.h"
#include "controller/logic/program_key_set.h"
#include "controller/logic/program_names.h"
#include "controller/logic/program_not_running.h"
#include "controller/logic/program_stop_attempts.h"
#include "controller/phases.h"
#include "controller/profile_reader.h"
#include "controller/program_terminator.h"
#include "controller/program_threads.h"
#include "controller/run_journal.h"
#include "controller/run_state.h"
#include "controller/thread_batch.h"
#include "controller/user_rights_start.h"
#include "profile/entry_values.h"
#include "profile/never_stop.h"
#include "profile/path_parts.h"
#include "profile/profile_keys.h"

namespace {

constexpr DWORD kPassIntervalMs = 500;

// Parameter blocks, owned by the thread they are handed to.
struct StopBlock {
    char key[1024];
    char value[512];
};
struct RestartBlock {
    char path[1536];
};

// Programs that were not running in phase 2 (guarded by g_outputLock).
NotRunningList g_notRunningPrograms;

void RecordNotRunning(const char* value)
{
    EnterCriticalSection(&g_outputLock);
    g_notRunningPrograms.Add(profile::ProgramPathPart(value));
    LeaveCriticalSection(&g_outputLock);
}

bool WasNotRunning(const char* path)
{
    EnterCriticalSection(&g_outputLock);
    const bool found = g_notRunningPrograms.Contains(path);
    LeaveCriticalSection(&g_outputLock);
    return found;
}

void StartStopThread(ThreadBatch& batch, const char* key, const char* value)
{
    StopBlock* block = new StopBlock;
    profile::CopyText(block->key, sizeof block->key, key);
    profile::CopyText(block->value, sizeof block->value, value);
    if (!batch.Start(StopProgramThread, block, key))
        delete block;
}

// Whether a process with the key's name runs now; false, after an error line, when the
// process list cannot be read. Phase 9 runs on the main thread, so the shared finder is free.
bool IsRunning(const char* key, bool& running)
{
    g_programFinder.m_findOnly = true;
    profile::CopyText(g_programFinder.m_programName, sizeof g_programFinder.m_programName, key);
    g_programFinder.m_foundPid = 0;
    const bool walked = g_programFinder.EnumerateProcesses();
    g_programFinder.m_findOnly = false;  // a pass that found nothing leaves it set
    running = g_programFinder.m_foundPid != 0;
    if (!walked)
        ReportProcessListFailure(key, "not restarted");
    return walked;
}

void StartRestartThread(ThreadBatch& batch, const char* key, const char* path)
{
    LogMessage(LOG_PLAIN, "\r\nRestarting %s at %s", key, path);
    // The shell-restart setting goes back before the shell itself is started.
    if (IsShellProgramKey(key))
        RestoreShellRestart();
    RestartBlock* block = new RestartBlock;
    profile::CopyText(block->path, sizeof block->path, path);
    if (!batch.Start(RestartProgramThread, block, key))
        delete block;
}

}  // namespace

DWORD WINAPI StopProgramThread(LPVOID parameter)
{
    StopBlock* block = static_cast<StopBlock*>(parameter);
    {
        ProgramTerminator terminator;
        terminator.LoadHelperLibraries();
        profile::CopyText(terminator.m_programName, sizeof terminator.m_programName, block->key);
        if (profile::ProgramIsStopRestart(block->value)) {
            // Into the run journal before the first instance is ended.
            terminator.m_beforeEnd = [](void* context) {
                const StopBlock* stopped = static_cast<const StopBlock*>(context);
                return JournalAddProgram(stopped->key, profile::ProgramPathPart(stopped->value));
            };
            terminator.m_beforeEndContext = block;
        }

        StopAttempts attempts;
        bool wasRunning = false;
        for (;;) {
            terminator.m_handled = false;
            if (!terminator.EnumerateProcesses() && !wasRunning) {
                // Not known to be stopped, nor to be not running: phase 9 decides by looking again.
                ReportProcessListFailure(terminator.m_programName, "not stopped");
                terminator.m_refused = true;
            }
            if (!terminator.m_handled)
                break;
            wasRunning = true;
            if (attempts.RecordAttempt(terminator.m_endedPid)) {
                LogMessage(LOG_ERROR, "\r\nERROR: %s (process %lu) does not end - giving up on it",
                           terminator.m_programName, terminator.m_endedPid);
                terminator.IgnoreProcess(terminator.m_endedPid);
            }
            if (attempts.PassLimitReached()) {
                LogMessage(LOG_ERROR, "\r\nERROR: %s keeps running - giving up", terminator.m_programName);
                break;
            }
            Sleep(kPassIntervalMs);
        }
        if (!wasRunning && !terminator.m_refused)
            RecordNotRunning(block->value);
    }
    delete block;
    return 0;
}

DWORD WINAPI RestartProgramThread(LPVOID parameter)
{
    RestartBlock* block = static_cast<RestartBlock*>(parameter);
    char commandLine[sizeof block->path + 2];
    // Quoted, so that exactly the stored path is started, in its own folder. A failed start
    // prints nothing.
    char folder[sizeof block->path];
    ProgramFolder(block->path, folder, sizeof folder);
    DWORD error = ERROR_SUCCESS;
    if (QuotedProgramPath(commandLine, sizeof commandLine, block->path)) {
        StartShownWithUserRights(commandLine, folder[0] != '\0' ? folder : nullptr, error);
    }
    delete block;
    return 0;
}

void HandleProgramsSection(ProgramsMode mode)
{
    ThreadBatch batch;
    ProgramKeySet seenKeys;
    WalkProfileSection(profile::kPrograms, profile::kActionNoAction, [&](const char* key, const char* value) {
        // A key repeated (in any letter case) names the same entry; its value is the first one.
        if (!seenKeys.Insert(key))
            return;
        if (profile::ProgramIsNoAction(value))
            return;
        if (profile::IsNeverStopProcess(key)) {
            // Not ended, so there is nothing to start again either.
            if (mode == ProgramsMode::Stop) {
                LogMessage(LOG_WARNING, "\r\nWARNING: '%s' is needed by Windows and is never stopped.", key);
            }
            return;
        }
        if (mode == ProgramsMode::Stop) {
            StartStopThread(batch, key, value);
            return;
        }
        if (!profile::ProgramIsStopRestart(value))
            return;
        const char* path = profile::ProgramPathPart(value);
        if (WasNotRunning(path))
            return;
        // A program that could not be stopped (or was started again meanwhile) is not started
        // a second time.
        bool running = false;
        if (!IsRunning(key, running))
            return;
        if (running) {
            LogMessage(LOG_WARNING, "\r\nWARNING: %s is still running - not restarted", key);
            if (IsShellProgramKey(key))
                RestoreShellRestart();
            return;
        }
        StartRestartThread(batch, key, path);
    });
    batch.WaitForAll();
}
