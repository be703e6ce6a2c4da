#include "controller/run_journal.h"

#include <string>

#include "journal/journal_file.h"
#include "controller/log_message.h"
#include "journal/journal_text.h"
#include "controller/profile_reader.h"
#include "controller/run_state.h"
#include "profile/entry_values.h"
#include "profile/profile_keys.h"

namespace {

// Set up by JournalBegin on the main thread before any worker thread exists; afterwards
// g_journalActive is only read. The record changes under g_journalLock; the file is
// written under g_journalWriteLock.
bool g_journalActive = false;
CRITICAL_SECTION g_journalLock;
CRITICAL_SECTION g_journalWriteLock;
JournalRecord g_journal;
unsigned long g_journalVersion = 0;    // changes made (under g_journalLock)
unsigned long g_journalPersisted = 0;  // changes on the disk (under g_journalWriteLock)
std::string g_journalPath;
bool g_journalFailed = false;      // a write failed; reported once (under g_journalWriteLock)
bool g_journalHandedOver = false;  // the console's close owns the journal (under both locks)
bool g_journalTaken = false;       // and has taken its record (under g_journalLock)
// Stops recorded and not yet over (under g_journalLock); the event is set while there are none.
long g_stopsUnderWay = 0;
HANDLE g_noStopUnderWay = nullptr;
// How long the hand-over lets stops under way finish before their restore begins.
constexpr DWORD kStopsUnderWayWaitMs = 2000;

bool ProfileHasSomethingToStop()
{
    bool found = false;
    WalkProfileSection(profile::kPrograms, profile::kActionNoAction, [&](const char*, const char* value) {
        if (!profile::ProgramIsNoAction(value))
            found = true;
    });
    if (found)
        return true;
    WalkProfileSection(profile::kServices, profile::kActionNoAction, [&](const char*, const char* value) {
        if (!profile::ServiceIsNoAction(value))
            found = true;
    });
    return found;
}

void ReportWriteFailure(DWORD error)
{
    LogMessage(LOG_WARNING, "\r\nWARNING: Unable to write the run journal '%s', error = %lu",
               g_journalPath.c_str(), error);
}

// Makes sure change number version is on the disk. Threads that change the journal at the
// same time share one write: whoever writes next takes every change made so far, and a
// thread whose change was written meanwhile does not write again. Returns the error to
// report (0: none).
DWORD Persist(unsigned long version)
{
    DWORD report = 0;
    EnterCriticalSection(&g_journalWriteLock);
    // Once handed over, the journal file is the console handler's restore's alone.
    if (g_journalPersisted < version && !g_journalHandedOver) {
        EnterCriticalSection(&g_journalLock);
        const std::string text = FormatJournal(g_journal);
        const unsigned long covered = g_journalVersion;
        LeaveCriticalSection(&g_journalLock);
        DWORD error = 0;
        if (WriteJournalFile(g_journalPath, text, false, error)) {
            g_journalPersisted = covered;
        } else if (!g_journalFailed) {
            g_journalFailed = true;
            report = error == 0 ? static_cast<DWORD>(ERROR_WRITE_FAULT) : error;
        }
    }
    LeaveCriticalSection(&g_journalWriteLock);
    return report;
}

// Persist, with the warning printed after the locks are left (LogMessage takes the output
// lock, and the shell-value hook calls in while holding that); version 0 writes nothing.
void PersistAndReport(unsigned long version)
{
    if (version == 0)
        return;
    const DWORD error = Persist(version);
    if (error != 0)
        ReportWriteFailure(error);
}

// Changes the record and, when change says it changed, writes it before returning; false
// when the journal was handed over. With startsStop, a stop is under way from here until
// JournalStopOver.
template <typename Change>
bool Record(Change&& change, bool startsStop = false)
{
    if (!g_journalActive)
        return true;
    EnterCriticalSection(&g_journalLock);
    const bool open = !g_journalHandedOver;
    const unsigned long version = open && change(g_journal) ? ++g_journalVersion : 0;
    if (open && startsStop && g_stopsUnderWay++ == 0 && g_noStopUnderWay != nullptr)
        ResetEvent(g_noStopUnderWay);
    LeaveCriticalSection(&g_journalLock);
    PersistAndReport(version);
    return open;
}

}  // namespace

bool ProfileChangesPower()
{
    return ReadConfigInt(profile::kPowerPlan, 0) == 1 || ReadConfigInt(profile::kKeepAwake, 0) == 1;
}

bool JournalNeeded() { return ProfileHasSomethingToStop() || ProfileChangesPower(); }

void JournalBegin()
{
    if (!JournalNeeded())
        return;
    InitializeCriticalSection(&g_journalLock);
    InitializeCriticalSection(&g_journalWriteLock);
    // Without the event the hand-over does not wait for stops under way.
    g_noStopUnderWay = CreateEventA(nullptr, TRUE, TRUE, nullptr);

    g_journal = JournalRecord();
    g_journal.processId = GetCurrentProcessId();
    if (!OwnStartTime(g_journal.startTime)) {
        g_journal.startTime = 0;
        HoldRunMutex();
    }
    g_journal.bootTime = CurrentBootTime();
    g_journal.computer = OwnComputerName();
    g_journal.profilePath = g_profilePath;

    std::string folder;
    if (!JournalFolder(folder, true)) {
        g_journalPath = folder.empty() ? std::string("zephrun_journal.ini") : JournalPath(folder, 0);
        ReportWriteFailure(GetLastError());
        return;
    }
    const std::string text = FormatJournal(g_journal);
    DWORD error = ERROR_ALREADY_EXISTS;
    for (int slot = 0; slot < kJournalSlots; ++slot) {
        const std::string path = JournalPath(folder, slot);
        if (JournalSlotTaken(path))
            continue;  // another run's (alive, or one that could not be restored)
        if (WriteJournalFile(path, text, true, error)) {
            g_journalPath = path;
            g_journalActive = true;
            return;
        }
    }
    g_journalPath = JournalPath(folder, 0);
    ReportWriteFailure(error);
}

bool JournalAddProgram(const char* key, const char* path)
{
    return Record([&](JournalRecord& journal) { return journal.AddProgram(key, path); }, true);
}

bool JournalAddService(const char* key)
{
    return Record([&](JournalRecord& journal) { return journal.AddService(key); }, true);
}

void JournalRemoveService(const char* key)
{
    if (!g_journalActive)
        return;
    EnterCriticalSection(&g_journalLock);
    // After the hand-over only the record the restore is about to take changes, not the file.
    const bool removed = (!g_journalHandedOver || !g_journalTaken) && g_journal.RemoveService(key);
    const unsigned long version = removed && !g_journalHandedOver ? ++g_journalVersion : 0;
    LeaveCriticalSection(&g_journalLock);
    PersistAndReport(version);
}

void JournalStopOver()
{
    if (!g_journalActive)
        return;
    EnterCriticalSection(&g_journalLock);
    if (g_stopsUnderWay > 0 && --g_stopsUnderWay == 0 && g_noStopUnderWay != nullptr)
        SetEvent(g_noStopUnderWay);
    LeaveCriticalSection(&g_journalLock);
}

bool JournalHandedOver()
{
    if (!g_journalActive)
        return false;
    EnterCriticalSection(&g_journalLock);
    const bool handedOver = g_journalHandedOver;
    LeaveCriticalSection(&g_journalLock);
    return handedOver;
}

bool JournalRecordShellValue(DWORD value)
{
    return Record([&](JournalRecord& journal) { return journal.SetShellValue(value); });
}

void JournalAddAutoStarted(const char* path, DWORD processId)
{
    Record([&](JournalRecord& journal) {
        journal.AddAutoStarted(path, processId);
        return true;
    });
}

bool JournalRecordPowerPlans(const char* before, const char* chosen)
{
    return Record([&](JournalRecord& journal) {
        if (before[0] == '\0') {
            journal.powerPlan.clear();
            journal.runPowerPlan.clear();
            return true;
        }
        return journal.SetPowerPlans(before, chosen);
    });
}

bool JournalRecordScreenSaverOff(bool off)
{
    return Record([&](JournalRecord& journal) {
        journal.screenSaverOff = off;
        return true;
    });
}

bool JournalHandOver(std::string& path, JournalRecord& record)
{
    if (!g_journalActive)
        return false;
    // A write under way finishes first; none follows.
    EnterCriticalSection(&g_journalWriteLock);
    EnterCriticalSection(&g_journalLock);
    const bool first = !g_journalHandedOver;
    g_journalHandedOver = true;
    LeaveCriticalSection(&g_journalLock);
    LeaveCriticalSection(&g_journalWriteLock);
    if (!first)
        return false;
    // A stop requested just before must not undo the restore that follows: a program in its
    // close wait gives up, a service is let reach its stopped state (its restart waits for
    // that too), and one that turned out not to run leaves the record. What is not over by
    // then is left to the restore's own checks.
    if (g_noStopUnderWay != nullptr)
        WaitForSingleObject(g_noStopUnderWay, kStopsUnderWayWaitMs);
    EnterCriticalSection(&g_journalLock);
    g_journalTaken = true;
    record = g_journal;
    path = g_journalPath;
    LeaveCriticalSection(&g_journalLock);
    return true;
}

void JournalEnd(bool shellValueLeft)
{
    if (!g_journalActive)
        return;
    EnterCriticalSection(&g_journalWriteLock);
    g_journalActive = false;
    DWORD error = 0;
    bool done = false;
    const char* action = "delete";
    JournalRecord left = g_journal;
    left.programs.clear();
    left.services.clear();
    left.autoStarted.clear();
    left.hasShellValue = shellValueLeft && g_journal.hasShellValue;
    if (left.HasWork()) {
        // Only these are left to put back; the journal keeps them for --restore.
        done = WriteJournalFile(g_journalPath, FormatJournal(left), false, error);
        action = "write";
    } else {
        done = DeleteJournalFiles(g_journalPath, error);
    }
    LeaveCriticalSection(&g_journalWriteLock);
    if (!done) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Unable to %s the run journal '%s', error = %lu", action,
                   g_journalPath.c_str(), error);
    }
}
