#include "controller/journal_restore.h"

#include <windows.h>

#include <string>

#include "controller/autostart_launch.h"
#include "controller/keep_awake.h"
#include "journal/journal_file.h"
#include "controller/log_message.h"
#include "controller/logic/command_line.h"
#include "controller/logic/program_names.h"
#include "controller/power_plan.h"
#include "controller/process_snapshot.h"
#include "controller/program_terminator.h"
#include "controller/run_state.h"
#include "controller/service_threads.h"
#include "controller/user_rights_start.h"
#include "profile/entry_values.h"
#include "profile/never_stop.h"
#include "profile/path_parts.h"
#include "runtime/entry_point.h"

namespace {

// Each function below puts back its part of the journal and adds what it could not put back
// to left, so that the journal keeps exactly those items. False when something failed.
bool RestoreServices(const JournalRecord& journal, bool ntFamily, JournalRecord& left)
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
        const int error = static_cast<int>(GetLastError());
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to open Service Control Manager, error = %d", error);
        for (const std::string& key : journal.services)
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to start Service '%s', error = %d", key.c_str(), error);
        left.services = journal.services;
        return false;
    }
    bool ok = true;
    for (const std::string& key : journal.services) {
        if (key.size() > profile::kMaxKeyLength || profile::IsNeverStopService(key.c_str()))
            continue;
        // One at a time, on this thread: the thread routine returns whether the start failed
        // (after naming the service and the error).
        ServiceThreadBlock* block = new ServiceThreadBlock;
        block->manager = manager;
        block->journal = false;
        profile::CopyText(block->key, sizeof block->key, key.c_str());
        if (StartServiceThread(block) != 0) {
            left.AddService(key);
            ok = false;
        }
    }
    CloseServiceHandle(manager);
    return ok;
}

bool RestoreShellValue(const JournalRecord& journal, JournalRecord& left)
{
    if (!journal.hasShellValue)
        return true;
    LogMessage(LOG_PLAIN, "\r\nRestoring AutoRestartShell = %lu", journal.shellValue);
    g_savedAutoRestartShell = journal.shellValue;
    const LONG result = RestoreShellRestart();
    if (result == ERROR_SUCCESS)
        return true;
    LogMessage(LOG_ERROR, "\r\nERROR: Unable to restore AutoRestartShell, error = %ld", result);
    left.SetShellValue(journal.shellValue);
    return false;
}

// A drive path (C:\...) or a network path (\\server\...): a journal value is never run as a
// command line or looked up along the search path.
bool IsAbsoluteProgramPath(const std::string& path)
{
    const bool drive = path.size() > 3
                       && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))
                       && path[1] == ':' && path[2] == '\\';
    const bool network = path.size() > 2 && path[0] == '\\' && path[1] == '\\';
    return (drive || network) && path.find('"') == std::string::npos;
}

bool RestorePrograms(const JournalRecord& journal, JournalRecord& left)
{
    if (journal.programs.empty())
        return true;
    LogMessage(LOG_HEADING, "\r\nPhase 9:  Restarting Programs");
    ProcessSnapshot running;
    if (!running.Take()) {
        // Without the list a program still running would be started a second time.
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to list the running programs - no program is restarted");
        for (const auto& program : journal.programs)
            LogMessage(LOG_ERROR, "\r\nERROR: %s at %s not restarted", program.first.c_str(),
                       program.second.c_str());
        left.programs = journal.programs;
        return false;
    }
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
        if (!IsAbsoluteProgramPath(program.second) || program.second.size() >= profile::kValueBufferSize) {
            // Not kept: no later restore could start it either.
            LogMessage(LOG_ERROR, "\r\nERROR: '%s' is not the full path of a program - %s not restarted",
                       path, key);
            ok = false;
            continue;
        }
        if (!UserRightsAvailable()) {
            // Never with the administrator rights of this run: anyone of the user's programs
            // can write a journal.
            ReportNoUserRights();
            left.AddProgram(program.first, program.second);
            ok = false;
            continue;
        }
        LogMessage(LOG_PLAIN, "\r\nRestarting %s at %s", key, path);
        // In its own folder, as phases 5 and 6 start theirs.
        PROCESS_INFORMATION process;
        if (LaunchProgram(path, "", process, StartRights::UserRightsOnly)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        } else {
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to restart %s, error = %lu", key, GetLastError());
            left.AddProgram(program.first, program.second);
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

using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE process, DWORD rights, PHANDLE token);
using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, LPVOID info,
                                            DWORD size, PDWORD needed);
using GetLengthSidFn = DWORD(WINAPI*)(PSID sid);
using InitializeAclFn = BOOL(WINAPI*)(PACL acl, DWORD size, DWORD revision);
using AddAccessAllowedAceFn = BOOL(WINAPI*)(PACL acl, DWORD revision, DWORD rights, PSID sid);
using InitializeSecurityDescriptorFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR descriptor, DWORD revision);
using CreateMutexExAFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES attributes, LPCSTR name, DWORD flags,
                                         DWORD rights);
using SetSecurityDescriptorDaclFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR descriptor, BOOL present, PACL acl,
                                                  BOOL defaulted);

// The restore lock, created so that the user's runs can all take it, elevated or not: by
// default an elevated creator's mutex is closed to the same user's unelevated processes.
// The descriptor grants the user of this process what waiting and releasing need (plain
// ACL calls of NT 3.1, looked up by name: Windows 9x has no security and gets none).
// Null with the reason in GetLastError() when the mutex exists but cannot be opened.
HANDLE CreateRestoreLock(const char* name)
{
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    const auto openToken = LookUp<OpenProcessTokenFn>(advapi, "OpenProcessToken");
    const auto tokenInfo = LookUp<GetTokenInformationFn>(advapi, "GetTokenInformation");
    const auto sidLength = LookUp<GetLengthSidFn>(advapi, "GetLengthSid");
    const auto initAcl = LookUp<InitializeAclFn>(advapi, "InitializeAcl");
    const auto addAce = LookUp<AddAccessAllowedAceFn>(advapi, "AddAccessAllowedAce");
    const auto initDescriptor =
        LookUp<InitializeSecurityDescriptorFn>(advapi, "InitializeSecurityDescriptor");
    const auto setDacl = LookUp<SetSecurityDescriptorDaclFn>(advapi, "SetSecurityDescriptorDacl");
    // TOKEN_USER with its SID behind it; DWORD-aligned for the ACL built in the same way.
    DWORD user[128];
    DWORD acl[160];
    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    HANDLE token = nullptr;
    DWORD size = 0;
    if (openToken != nullptr && tokenInfo != nullptr && sidLength != nullptr && initAcl != nullptr
        && addAce != nullptr && initDescriptor != nullptr && setDacl != nullptr
        && openToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        const bool known = tokenInfo(token, TokenUser, user, sizeof user, &size) != FALSE;
        CloseHandle(token);
        PSID sid = known ? reinterpret_cast<TOKEN_USER*>(user)->User.Sid : nullptr;
        const DWORD aclSize = sid != nullptr ? sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + sidLength(sid) : 0;
        if (sid != nullptr && aclSize <= sizeof acl
            && initAcl(reinterpret_cast<PACL>(acl), aclSize, ACL_REVISION)
            && addAce(reinterpret_cast<PACL>(acl), ACL_REVISION, SYNCHRONIZE | MUTEX_MODIFY_STATE, sid)
            && initDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)
            && setDacl(&descriptor, TRUE, reinterpret_cast<PACL>(acl), FALSE)) {
            attributes.lpSecurityDescriptor = &descriptor;
        }
    }
    // Asking for no more than the descriptor grants, so that a second run opens it and waits:
    // CreateMutexA asks for all access. CreateMutexExA is Windows Vista's; before, the mutex
    // is opened first where it exists.
    const DWORD rights = SYNCHRONIZE | MUTEX_MODIFY_STATE;
    SECURITY_ATTRIBUTES* security = attributes.lpSecurityDescriptor != nullptr ? &attributes : nullptr;
    const auto createEx = LookUp<CreateMutexExAFn>(GetModuleHandleA("kernel32.dll"), "CreateMutexExA");
    if (createEx != nullptr)
        return createEx(security, name, 0, rights);
    HANDLE existing = OpenMutexA(rights, FALSE, name);
    return existing != nullptr ? existing : CreateMutexA(security, FALSE, name);
}

// Restores the journal at path (found in the journal folder, or in the old one: then newPath
// names the free slot of the journal folder that keeps what is left).
bool RestoreJournal(const std::string& path, const std::string& newPath, const JournalRecord& journal,
                    bool normalRun, bool ntFamily)
{
    if (normalRun) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: The run of '%s' (process %lu) did not finish. Restoring what it stopped...",
                   journal.profilePath.c_str(), journal.processId);
    } else {
        LogMessage(LOG_HEADING, "\r\nRestoring what the run of '%s' (process %lu) stopped",
                   journal.profilePath.c_str(), journal.processId);
    }
    // What fails stays in the journal, under the dead run's identity, for the next restore.
    JournalRecord left;
    left.processId = journal.processId;
    left.startTime = journal.startTime;
    left.bootTime = journal.bootTime;
    left.computer = journal.computer;
    left.profilePath = journal.profilePath;
    // As at the end of a run: the screen saver after the main application, the power plan
    // before the services.
    bool ok = RestoreScreenSaver(journal, left);
    ok = RestorePowerPlan(journal, left) && ok;
    ok = RestoreServices(journal, ntFamily, left) && ok;
    // The shell-restart value goes back before any program (the shell among them) starts.
    ok = RestoreShellValue(journal, left) && ok;
    ok = RestorePrograms(journal, left) && ok;
    ListAutoStarted(journal);
    DWORD error = 0;
    if (left.HasWork()) {
        const std::string& keep = newPath.empty() ? path : newPath;
        if (!WriteJournalFile(keep, FormatJournal(left), !newPath.empty(), error)) {
            // The journal as it was stays: it still lists everything that failed.
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to write the run journal '%s', error = %lu",
                       keep.c_str(), error);
            return false;
        }
        LogMessage(LOG_WARNING, "\r\nWARNING: What could not be restored stays in the run journal '%s'.",
                   keep.c_str());
        if (keep == path)
            return ok;
    }
    if (!DeleteJournalFiles(path, error)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to delete the run journal '%s', error = %lu", path.c_str(),
                   error);
        ok = false;
    }
    return ok;
}

}  // namespace

bool RestoreOwnJournal(const std::string& path, const JournalRecord& record, bool ntFamily)
{
    return RestoreJournal(path, std::string(), record, false, ntFamily);
}

RestoreResult RestoreUnfinishedRuns(bool normalRun, bool ntFamily)
{
    std::string folders[2];
    const bool have[2] = {JournalFolder(folders[0], false), OldJournalFolder(folders[1])};
    if (!have[0] && !have[1])
        return RestoreResult::Nothing;
    // One restore at a time: two runs starting together, or a run and --restore, would
    // otherwise both act on one journal. Windows releases the mutex of a restore that dies.
    HANDLE lock = CreateRestoreLock("ZephrunJournalRestore");
    const DWORD waited = lock != nullptr ? WaitForSingleObject(lock, INFINITE) : WAIT_FAILED;
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        LogMessage(LOG_ERROR,
                   "\r\nERROR: Another restore is running (its lock cannot be had, error = %lu) - "
                   "nothing is restored now.",
                   GetLastError());
        if (lock != nullptr)
            CloseHandle(lock);
        return RestoreResult::Busy;
    }
    RestoreResult result = RestoreResult::Nothing;
    for (int place = 0; place < 2; ++place) {
        for (int slot = 0; have[place] && slot < kJournalSlots; ++slot) {
            const std::string path = JournalPath(folders[place], slot);
            JournalRecord journal;
            DWORD error = 0;
            const JournalSlotState state = ReadJournalSlot(path, journal, error);
            if (state == JournalSlotState::Empty)
                continue;
            if (state == JournalSlotState::Unreadable) {
                // Perhaps a live run's, held open by a scanner or a backup for a moment.
                LogMessage(LOG_WARNING,
                           "\r\nWARNING: The run journal '%s' cannot be read now (error = %lu) - left alone.",
                           path.c_str(), error);
                result = RestoreResult::Failed;
                continue;
            }
            if (state == JournalSlotState::Malformed || state == JournalSlotState::TooLarge) {
                // Journals are renamed into place whole, so this one was not written by a run.
                std::string aside;
                const bool moved = SetJournalAside(path, aside, error);
                LogMessage(LOG_WARNING, "\r\nWARNING: '%s' is not a %s - %s '%s'.", path.c_str(),
                           state == JournalSlotState::TooLarge ? "run journal (too many entries)"
                                                               : "complete run journal",
                           moved ? "set aside as" : "left alone, unable to rename it to", aside.c_str());
                continue;
            }
            if (JournalOfOtherComputer(journal)) {
                LogMessage(LOG_PLAIN, "\r\nThe run journal '%s' belongs to the computer '%s' - ignored here.",
                           path.c_str(), journal.computer.c_str());
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
            // A journal of the old place moves to the journal folder when something is left.
            std::string newPath;
            std::string current;
            if (place == 1 && JournalFolder(current, true)) {
                for (int free = 0; newPath.empty() && free < kJournalSlots; ++free) {
                    if (!JournalSlotTaken(JournalPath(current, free)))
                        newPath = JournalPath(current, free);
                }
            }
            const bool ok = RestoreJournal(path, newPath, journal, normalRun, ntFamily);
            if (!ok) {
                result = RestoreResult::Failed;
            } else if (result == RestoreResult::Nothing) {
                result = RestoreResult::Restored;
            }
        }
    }
    if (!ReleaseMutex(lock)) {
        // Not held after all: closing the handle below is all there is to do.
    }
    CloseHandle(lock);
    return result;
}
