#include "controller/main_app_wait.h"

#include <string>
#include <vector>

#include "controller/log_message.h"
#include "controller/main_app_start.h"
#include "controller/process_snapshot.h"

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

struct Watch {
    std::string exeName;
    DWORD priorityClass = NORMAL_PRIORITY_CLASS;
    std::vector<Copy> copies;
};
Watch g_watch;

bool Known(DWORD processId)
{
    for (const Copy& copy : g_watch.copies) {
        if (copy.processId == processId)
            return true;
    }
    return false;
}

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
    for (std::size_t i = g_watch.copies.size(); i-- > 0;) {
        HANDLE process = g_watch.copies[i].process;
        if (process != nullptr && WaitForSingleObject(process, 0) != WAIT_TIMEOUT) {
            CloseHandle(process);
            g_watch.copies.erase(g_watch.copies.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    ProcessSnapshot running;
    if (!running.Take())
        return 0;  // unreadable now: the copies with handles are still waited for
    const std::vector<DWORD> ids = running.IdsOf(g_watch.exeName.c_str());
    for (std::size_t i = g_watch.copies.size(); i-- > 0;) {
        const Copy& copy = g_watch.copies[i];
        if (copy.process == nullptr && !running.HasProcess(copy.processId, g_watch.exeName.c_str()))
            g_watch.copies.erase(g_watch.copies.begin() + static_cast<std::ptrdiff_t>(i));
    }
    int found = 0;
    for (DWORD id : ids) {
        if (Known(id))
            continue;
        // Held until the copy has ended, so that its id cannot pass to another process.
        g_watch.copies.push_back({id, OpenProcess(SYNCHRONIZE, FALSE, id)});
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
    g_watch.exeName = exeName;
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
    const char* name = g_watch.exeName.c_str();
    for (;;) {
        while (!g_watch.copies.empty()) {
            HANDLE handles[MAXIMUM_WAIT_OBJECTS];
            DWORD count = 0;
            bool unopened = false;
            for (const Copy& copy : g_watch.copies) {
                if (copy.process == nullptr)
                    unopened = true;
                else if (count < MAXIMUM_WAIT_OBJECTS)
                    handles[count++] = copy.process;
            }
            const DWORD interval = unopened ? kLookIntervalMs : kRescanIntervalMs;
            if (count == 0) {
                Sleep(interval);
            } else if (WaitForMultipleObjects(count, handles, FALSE, interval) == WAIT_FAILED) {
                LogMessage(LOG_ERROR, "\r\nERROR: Unable to wait for the Main Application, error code %lu",
                           GetLastError());
                Sleep(interval);  // the process list still tells when the copies have ended
            }
            const std::size_t before = g_watch.copies.size();
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
