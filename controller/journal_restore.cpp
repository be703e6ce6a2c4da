#include "controller/journal_restore.h"

#include <windows.h>

#include <string>

#include "controller/journal_file.h"
#include "controller/log_message.h"
#include "controller/logic/command_line.h"
#include "controller/logic/program_names.h"
#include "controller/process_snapshot.h"
#include "controller/program_terminator.h"
#include "controller/run_state.h"
#include "controller/service_threads.h"
#include "controller/user_rights_start.h"
#include "profile/entry_values.h"
#include "profile/never_stop.h"
#include "profile/path_parts.h"

namespace {

bool RestoreServices(const JournalRecord& journal, bool ntFamily)
{
    if (journal.services.empty())
        return true;
    LogMessage(LOG_HEADING, "\r\nPhase 8:  Restarting Services");
    if (!ntFamily) {
        LogMessage(LOG_HEADING, "\r\n...skipping since OS is Windows 9x/ME");
        return true;
    }
    SC_HANDLE manager = OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, SC_MANAGER_CONNECT);
    if (manager == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to open Service Control Manager, error = %d",
                   static_cast<int>(GetLastError()));
        return false;
    }
    bool ok = true;
    for (const std::string& key : journal.services) {
        if (key.size() > profile::kMaxKeyLength || profile::IsNeverStopService(key.c_str()))
            continue;
        // One at a time, on this thread: the thread routine returns whether the start failed.
        ServiceThreadBlock* block = new ServiceThreadBlock;
        block->manager = manager;
        block->journal = false;
        profile::CopyText(block->key, sizeof block->key, key.c_str());
        if (StartServiceThread(block) != 0)
            ok = false;
    }
    CloseServiceHandle(manager);
    return ok;
}

bool RestoreShellValue(const JournalRecord& journal)
{
    if (!journal.hasShellValue)
        return true;
    LogMessage(LOG_PLAIN, "\r\nRestoring AutoRestartShell = %lu", journal.shellValue);
    g_savedAutoRestartShell = journal.shellValue;
    const LONG result = RestoreShellRestart();
    if (result == ERROR_SUCCESS)
        return true;
    LogMessage(LOG_ERROR, "\r\nERROR: Unable to restore AutoRestartShell, error = %ld", result);
    return false;
}

bool RestorePrograms(const JournalRecord& journal)
{
    if (journal.programs.empty())
        return true;
    LogMessage(LOG_HEADING, "\r\nPhase 9:  Restarting Programs");
    ProcessSnapshot running;
    running.Take();
    bool ok = true;
    for (const auto& program : journal.programs) {
        const char* key = program.first.c_str();
        const char* path = program.second.c_str();
        if (program.second.empty() || profile::IsNeverStopProcess(key))
            continue;
        if (!running.IdsOf(key).empty()) {
            LogMessage(LOG_PLAIN, "\r\n%s is already running - not restarted", key);
            continue;
        }
        LogMessage(LOG_PLAIN, "\r\nRestarting %s at %s", key, path);
        char commandLine[2 * MAX_PATH + 8];
        DWORD error = ERROR_BAD_PATHNAME;
        if (!QuotedProgramPath(commandLine, sizeof commandLine, path)
            || !StartShownWithUserRights(commandLine, nullptr, error)) {
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to restart %s, error = %lu", key, error);
            ok = false;
        }
    }
    return ok;
}

// Auto-start programs are not ended: the user may be using them. Those still running are named.
void ListAutoStarted(const JournalRecord& journal)
{
    if (journal.autoStarted.empty())
        return;
    ProcessSnapshot running;
    running.Take();
    bool headed = false;
    for (const auto& program : journal.autoStarted) {
        if (!running.HasProcess(program.second, profile::FileNameOfPath(program.first.c_str())))
            continue;
        if (!headed) {
            LogMessage(
                LOG_WARNING,
                "\r\nWARNING: Auto-start programs of that run are still running; end them if not wanted:");
            headed = true;
        }
        LogMessage(LOG_PLAIN, "\r\n  %s (process %lu)", program.first.c_str(), program.second);
    }
}

bool RestoreJournal(const std::string& path, const JournalRecord& journal, bool normalRun, bool ntFamily)
{
    if (normalRun) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: The run of '%s' (process %lu) did not finish. Restoring what it stopped...",
                   journal.profilePath.c_str(), journal.processId);
    } else {
        LogMessage(LOG_HEADING, "\r\nRestoring what the run of '%s' (process %lu) stopped",
                   journal.profilePath.c_str(), journal.processId);
    }
    bool ok = RestoreServices(journal, ntFamily);
    // The shell-restart value goes back before any program (the shell among them) starts.
    ok = RestoreShellValue(journal) && ok;
    ok = RestorePrograms(journal) && ok;
    ListAutoStarted(journal);
    DWORD error = 0;
    if (!DeleteJournalFiles(path, error)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to delete the run journal '%s', error = %lu", path.c_str(),
                   error);
        ok = false;
    }
    return ok;
}

}  // namespace

RestoreResult RestoreUnfinishedRuns(bool normalRun, bool ntFamily)
{
    std::string folder;
    if (!JournalFolder(folder, false))
        return RestoreResult::Nothing;
    RestoreResult result = RestoreResult::Nothing;
    for (int slot = 0; slot < kJournalSlots; ++slot) {
        const std::string path = JournalPath(folder, slot);
        JournalRecord journal;
        bool complete = false;
        if (!ReadJournalSlot(path, journal, complete))
            continue;
        if (!complete) {
            // Journals are renamed into place whole, so this one was not written by a run.
            LogMessage(LOG_WARNING, "\r\nWARNING: '%s' is not a complete run journal - deleted.",
                       path.c_str());
            DWORD error = 0;
            DeleteJournalFiles(path, error);
            continue;
        }
        if (JournalRunIsAlive(journal)) {
            if (!normalRun) {
                LogMessage(
                    LOG_PLAIN,
                    "\r\nThe run of '%s' (process %lu) is still in progress - its journal is left alone.",
                    journal.profilePath.c_str(), journal.processId);
            }
            continue;
        }
        const bool ok = RestoreJournal(path, journal, normalRun, ntFamily);
        if (!ok) {
            result = RestoreResult::Failed;
        } else if (result == RestoreResult::Nothing) {
            result = RestoreResult::Restored;
        }
    }
    return result;
}
