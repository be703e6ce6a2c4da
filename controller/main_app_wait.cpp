#include "controller/main_app_wait.h"

#include <vector>

#include "controller/log_message.h"
#include "controller/main_app_start.h"
#include "controller/process_snapshot.h"
#include "profile/path_parts.h"
#include "profile/profile_keys.h"

namespace {

// How often the process list is read while looking for a copy to appear, and while copies
// run (a copy started meanwhile gets its priority about this soon).
constexpr DWORD kLookIntervalMs = 500;
constexpr DWORD kRescanIntervalMs = 2000;

// One copy of the main application. Its handle (SYNCHRONIZE only, which an elevated or
// protected program still grants) is what the run waits on; a copy that refuses even that
// counts as running while the process list shows it.
struct Copy {
    DWORD processId;
    HANDLE process;
};

// As many copies as one wait can cover; more are taken in as earlier ones end.
struct Watch {
    char exeName[profile::kValueBufferSize];
    DWORD priorityClass;
    Copy copies[MAXIMUM_WAIT_OBJECTS];
    DWORD count;
};
Watch g_watch;

bool Known(DWORD processId)
{
    for (DWORD i = 0; i < g_watch.count; ++i) {
        if (g_watch.copies[i].processId == processId)
            return true;
    }
    return false;
}

void Forget(DWORD i) { g_watch.copies[i] = g_watch.copies[--g_watch.count]; }

void SetPriority(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_SET_INFORMATION | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Could not set priority, error code %lu", GetLastError());
        return;
    }
    ApplyMainAppPriority(process, g_watch.priorityClass);
    CloseHandle(process);
}

// Forgets copies that have ended and takes in those that run now and were not known.
// Returns how many copies were new.
int Rescan()
{
    for (DWORD i = g_watch.count; i-- > 0;) {
        HANDLE process = g_watch.copies[i].process;
        if (process != nullptr && WaitForSingleObject(process, 0) != WAIT_TIMEOUT) {
            CloseHandle(process);
            Forget(i);
        }
    }
    ProcessSnapshot running;
    if (!running.Take())
        return 0;  // unreadable now: the copies with handles are still waited for
    for (DWORD i = g_watch.count; i-- > 0;) {
        const Copy& copy = g_watch.copies[i];
        if (copy.process == nullptr && !running.HasProcess(copy.processId, g_watch.exeName))
            Forget(i);
    }
    int found = 0;
    for (DWORD id : running.IdsOf(g_watch.exeName)) {
        if (Known(id) || g_watch.count == MAXIMUM_WAIT_OBJECTS)
            continue;
        // Held until the copy has ended, so that its id cannot pass to another process.
        g_watch.copies[g_watch.count++] = {id, OpenProcess(SYNCHRONIZE, FALSE, id)};
        SetPriority(id);
        ++found;
    }
    return found;
}

// Reads the process list every half second until a copy runs or the time is up.
bool LookFor(int seconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (Rescan() > 0)
            return true;
        if (seconds <= 0 || GetTickCount() - start >= static_cast<DWORD>(seconds) * 1000)
            return false;
        Sleep(kLookIntervalMs);
    }
}

}  // namespace

bool FindMainAppCopies(const char* exeName, int waitSeconds, DWORD priorityClass)
{
    profile::CopyText(g_watch.exeName, sizeof g_watch.exeName, exeName);
    g_watch.priorityClass = priorityClass;
    if (Rescan() > 0)
        return true;
    if (waitSeconds <= 0)
        return false;
    LogMessage(LOG_PLAIN, "\r\nWaiting up to %d seconds for %s to start...", waitSeconds, exeName);
    return LookFor(waitSeconds);
}

void WaitForMainAppCopies()
{
    const char* name = g_watch.exeName;
    for (;;) {
        while (g_watch.count > 0) {
            HANDLE handles[MAXIMUM_WAIT_OBJECTS];
            DWORD count = 0;
            bool unopened = false;
            for (DWORD i = 0; i < g_watch.count; ++i) {
                if (g_watch.copies[i].process == nullptr)
                    unopened = true;
                else
                    handles[count++] = g_watch.copies[i].process;
            }
            const DWORD interval = unopened ? kLookIntervalMs : kRescanIntervalMs;
            if (count == 0) {
                Sleep(interval);
            } else if (WaitForMultipleObjects(count, handles, FALSE, interval) == WAIT_FAILED) {
                LogMessage(LOG_ERROR, "\r\nERROR: Unable to wait for the Main Application, error code %lu",
                           GetLastError());
                Sleep(interval);  // the process list still tells when the copies have ended
            }
            const DWORD before = g_watch.count;
            const int found = Rescan();
            if (found > 0 && before > 0)
                LogMessage(LOG_PLAIN, "\r\nAnother copy of %s runs: waiting for every copy to finish", name);
        }
        LogMessage(LOG_PLAIN, "\r\n%s has finished; looking %d seconds for it to start again...", name,
                   kMainAppRestartSeconds);
        if (!LookFor(kMainAppRestartSeconds))
            return;
        LogMessage(LOG_PLAIN, "\r\n%s started again: waiting for it to finish", name);
    }
}
