#include "journal/journal_file.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "profile/name_compare.h"
#include "runtime/entry_point.h"
#include "runtime/format_text.h"

namespace {

const int kCsidlAppData = 0x001a;
const int kCsidlLocalAppData = 0x001c;
const int kCsidlFlagCreate = 0x8000;

using SHGetSpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
using SHGetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
using GetProcessTimesFn = BOOL(WINAPI*)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);
using GetTickCount64Fn = ULONGLONG(WINAPI*)();

// Windows Vista's right to read a process's times and exit code, which is granted for far
// more processes than PROCESS_QUERY_INFORMATION (declared here for older headers).
const DWORD kProcessQueryLimitedInformation = 0x1000;

JournalSystemCalls g_calls = {};

HANDLE OpenFile(const char* path, DWORD access, DWORD share, DWORD disposition)
{
    auto createFile = g_calls.createFile != nullptr ? g_calls.createFile : &CreateFileA;
    return createFile(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

template <typename Fn>
Fn LookUpCall(HMODULE module, const char* name)
{
    if (g_calls.getProcAddress == nullptr)
        return LookUp<Fn>(module, name);
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Fn>(reinterpret_cast<void*>(g_calls.getProcAddress(module, name)));
}

// A per-user application-data folder (csidl), asked of each provider in turn until one
// names it: SHGetSpecialFolderPathA (shell32 4.71 and later; those before 5.0, on 98 and
// NT 4.0, do not know CSIDL_LOCAL_APPDATA and refuse it), SHGetFolderPathA of shell32 5.0
// and later, SHGetFolderPathA of the redistributable shfolder.dll.
bool AppDataFolder(int csidl, char* path, bool create)
{
    const char* const providers[] = {"shell32.dll", "shell32.dll", "shfolder.dll"};
    const int folderCsidl = csidl | (create ? kCsidlFlagCreate : 0);
    bool found = false;
    for (int way = 0; way < 3 && !found; ++way) {
        path[0] = '\0';
        HMODULE module = LoadLibraryA(providers[way]);
        if (module == nullptr)
            continue;
        if (way == 0) {
            auto special = LookUpCall<SHGetSpecialFolderPathFn>(module, "SHGetSpecialFolderPathA");
            found = special != nullptr && special(nullptr, path, csidl, create ? TRUE : FALSE) != FALSE;
        } else if (auto folderPath = LookUpCall<SHGetFolderPathFn>(module, "SHGetFolderPathA")) {
            found = SUCCEEDED(folderPath(nullptr, folderCsidl, nullptr, 0, path));
        }
        found = found && path[0] != '\0';
        FreeLibrary(module);
    }
    return found;
}

bool ControllerFolder(std::string& folder)
{
    char path[MAX_PATH + 1];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    path[length] = '\0';
    char* slash = std::strrchr(path, '\\');
    if (slash == nullptr)
        return false;
    *slash = '\0';
    folder = path;
    return true;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    HANDLE file = OpenFile(path.c_str(), GENERIC_READ, ShareWithEveryone(), OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    text.clear();
    char buffer[4096];
    DWORD got = 0;
    bool ok = true;
    // A journal is small; anything beyond 4 MB is not one of ours.
    while (text.size() < 4u * 1024 * 1024) {
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        text.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool DeleteIfThere(const std::string& path, DWORD& error)
{
    if (DeleteFileA(path.c_str()))
        return true;
    error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

std::string RunMutexName(unsigned long processId)
{
    char name[64];
    FormatText(name, sizeof name, "ZephrunJournalRun_%lu", processId);
    return name;
}

}  // namespace

JournalSystemCalls SetJournalSystemCalls(const JournalSystemCalls& calls)
{
    const JournalSystemCalls previous = g_calls;
    g_calls = calls;
    return previous;
}

bool NtFamilyWindows() { return (GetVersion() & 0x80000000u) == 0; }

DWORD ShareWithEveryone()
{
    return FILE_SHARE_READ | FILE_SHARE_WRITE | (NtFamilyWindows() ? FILE_SHARE_DELETE : 0);
}

bool JournalFolder(std::string& folder, bool create)
{
    char appData[MAX_PATH + 1];
    if (AppDataFolder(kCsidlLocalAppData, appData, create)) {
        folder = std::string(appData) + "\\Zephlaunch";
        if (!create)
            return true;
        if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
            return true;
        return false;
    }
    return ControllerFolder(folder);
}

bool OldJournalFolder(std::string& folder)
{
    char appData[MAX_PATH + 1];
    std::string current;
    if (!AppDataFolder(kCsidlAppData, appData, false) || !JournalFolder(current, false))
        return false;
    folder = std::string(appData) + "\\Zephlaunch";
    return !profile::SameName(folder.c_str(), current.c_str());
}

std::string OwnComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size))
        return std::string();
    return std::string(name, size < sizeof name ? size : sizeof name - 1);
}

bool JournalOfOtherComputer(const JournalRecord& record)
{
    return !record.computer.empty() && !profile::SameName(record.computer.c_str(), OwnComputerName().c_str());
}

unsigned long long CurrentBootTime()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const unsigned long long time =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    // GetTickCount64 where Windows has it (Vista); the 32-bit count wraps, which SameBoot allows for.
    auto tickCount64 = LookUp<GetTickCount64Fn>(GetModuleHandleA("kernel32.dll"), "GetTickCount64");
    const unsigned long long uptime = tickCount64 != nullptr ? tickCount64() : GetTickCount();
    return time - uptime * 10000;
}

std::string JournalPath(const std::string& folder, int slot) { return folder + "\\" + JournalFileName(slot); }

std::string JournalUpdatePath(const std::string& journalPath) { return journalPath + ".new"; }

bool WriteJournalFile(const std::string& path, const std::string& text, bool claim, DWORD& error)
{
    // A claim writes to a name of its own, so two runs racing for one slot never share a file.
    char suffix[32];
    FormatText(suffix, sizeof suffix, ".%lu.claim", GetCurrentProcessId());
    const std::string update = claim ? path + suffix : JournalUpdatePath(path);

    HANDLE file = OpenFile(update.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)
              && written == text.size();
    // On the disk before the rename: after a power failure the journal is the old or the new one.
    if (ok)
        ok = FlushFileBuffers(file) != FALSE;
    if (!ok)
        error = GetLastError();
    CloseHandle(file);
    if (!ok) {
        DeleteFileA(update.c_str());
        return false;
    }

    if (claim) {
        // MoveFileA never replaces: the claim fails when another run holds the slot.
        if (MoveFileA(update.c_str(), path.c_str()))
            return true;
        error = GetLastError();
        DeleteFileA(update.c_str());
        return false;
    }

    if (NtFamilyWindows()) {
        auto moveFileEx = g_calls.moveFileEx != nullptr
                              ? g_calls.moveFileEx
                              : LookUp<MoveFileExFn>(GetModuleHandleA("kernel32.dll"), "MoveFileExA");
        error = ERROR_CALL_NOT_IMPLEMENTED;
        // A reader (a virus scanner, a backup) holding the journal open makes the rename fail
        // for a moment: a few tries, 20 ms apart.
        for (int attempt = 0; moveFileEx != nullptr && attempt < 10; ++attempt) {
            if (moveFileEx(update.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            error = GetLastError();
            if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
                break;
            Sleep(20);
        }
        return false;
    }
    // Windows 95/98/ME: no replacing rename (MoveFileExA fails there). Until the rename, the
    // update file is the journal (ReadJournalSlot reads it when the journal is missing).
    if (!DeleteIfThere(path, error))
        return false;
    if (MoveFileA(update.c_str(), path.c_str()))
        return true;
    error = GetLastError();
    return false;
}

JournalSlotState ReadJournalSlot(const std::string& path, JournalRecord& record, DWORD& error)
{
    std::string text;
    error = 0;
    bool tooLarge = false;
    if (ReadWholeFile(path, text)) {
        if (ParseJournal(text, record, &tooLarge))
            return JournalSlotState::Complete;
        return tooLarge ? JournalSlotState::TooLarge : JournalSlotState::Malformed;
    }
    error = GetLastError();
    if (FileExists(path))
        return JournalSlotState::Unreadable;  // held open by another program, for example
    // Only a complete update file stands in for a missing journal: a cut one is a write
    // that never happened.
    if (ReadWholeFile(JournalUpdatePath(path), text) && ParseJournal(text, record))
        return JournalSlotState::Complete;
    return JournalSlotState::Empty;
}

bool SetJournalAside(const std::string& path, std::string& aside, DWORD& error)
{
    aside = path + ".bad";
    DWORD ignored = 0;
    DeleteIfThere(aside, ignored);
    if (!MoveFileA(path.c_str(), aside.c_str())) {
        error = GetLastError();
        return false;
    }
    DeleteIfThere(JournalUpdatePath(path), ignored);
    return true;
}

bool DeleteJournalFiles(const std::string& path, DWORD& error)
{
    DWORD ignored = 0;
    DeleteIfThere(JournalUpdatePath(path), ignored);
    return DeleteIfThere(path, error);
}

bool JournalSlotTaken(const std::string& path)
{
    return FileExists(path) || FileExists(JournalUpdatePath(path));
}

bool OwnStartTime(unsigned long long& startTime)
{
    auto getProcessTimes = LookUp<GetProcessTimesFn>(GetModuleHandleA("kernel32.dll"), "GetProcessTimes");
    if (getProcessTimes == nullptr)
        return false;
    FILETIME created, exited, kernel, user;
    if (!getProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return false;
    startTime = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return startTime != 0;
}

void HoldRunMutex()
{
    // Deliberately never closed: Windows removes it when this process ends.
    if (CreateMutexA(nullptr, FALSE, RunMutexName(GetCurrentProcessId()).c_str()) == nullptr) {
        // Without it the journal of this run looks like that of a dead run to others; they
        // would restore too early, which puts things back rather than losing them.
    }
}

bool JournalRunIsAlive(const JournalRecord& record)
{
    // A process id that is ours now belonged to a run that has ended.
    if (record.processId == GetCurrentProcessId())
        return false;
    if (record.startTime == 0) {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, RunMutexName(record.processId).c_str());
        if (mutex == nullptr)
            return false;
        CloseHandle(mutex);
        return true;
    }
    // The limited right where Windows has it (Vista and later; older versions refuse the bit).
    const DWORD version = GetVersion();
    const bool ntFamily = NtFamilyWindows();
    const DWORD rights = ntFamily && LOBYTE(LOWORD(version)) >= 6 ? kProcessQueryLimitedInformation
                                                                  : PROCESS_QUERY_INFORMATION;
    JournalProcessProbe probe;
    HANDLE process = OpenProcess(rights, FALSE, record.processId);
    if (process == nullptr) {
        probe.accessDenied = GetLastError() == ERROR_ACCESS_DENIED;
        return JournalRunLooksAlive(record, probe, CurrentBootTime());
    }
    probe.opened = true;
    DWORD exitCode = 0;
    probe.running = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    auto getProcessTimes = LookUp<GetProcessTimesFn>(GetModuleHandleA("kernel32.dll"), "GetProcessTimes");
    FILETIME created, exited, kernel, user;
    if (probe.running && getProcessTimes != nullptr
        && getProcessTimes(process, &created, &exited, &kernel, &user)) {
        probe.haveStartTime = true;
        probe.startTime =
            (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    }
    CloseHandle(process);
    return JournalRunLooksAlive(record, probe, 0);
}

std::vector<JournalRecord> DeadRunJournals()
{
    std::vector<JournalRecord> dead;
    std::string folders[2];
    const bool have[2] = {JournalFolder(folders[0], false), OldJournalFolder(folders[1])};
    for (int place = 0; place < 2; ++place) {
        for (int slot = 0; have[place] && slot < kJournalSlots; ++slot) {
            JournalRecord journal;
            DWORD error = 0;
            if (ReadJournalSlot(JournalPath(folders[place], slot), journal, error)
                    == JournalSlotState::Complete
                && !JournalOfOtherComputer(journal) && !JournalRunIsAlive(journal))
                dead.push_back(journal);
        }
    }
    return dead;
}

bool DeadRunJournalExists(JournalRecord* found)
{
    const std::vector<JournalRecord> dead = DeadRunJournals();
    if (!dead.empty() && found != nullptr)
        *found = dead.front();
    return !dead.empty();
}
