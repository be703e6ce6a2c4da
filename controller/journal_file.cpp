#include "controller/journal_file.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const int kCsidlAppData = 0x001a;
const int kCsidlFlagCreate = 0x8000;

using SHGetSpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
using SHGetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
using GetProcessTimesFn = BOOL(WINAPI*)(HANDLE, LPFILETIME, LPFILETIME, LPFILETIME, LPFILETIME);

template <typename Fn>
Fn LookUp(HMODULE module, const char* name)
{
    return module == nullptr ? nullptr
                             : reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The per-user application-data folder: SHGetSpecialFolderPathA (shell32 4.71 and later),
// else SHGetFolderPathA of shell32 or of the redistributable shfolder.dll.
bool AppDataFolder(char* path, bool create)
{
    path[0] = '\0';
    bool found = false;
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (auto special = LookUp<SHGetSpecialFolderPathFn>(shell, "SHGetSpecialFolderPathA")) {
        found = special(nullptr, path, kCsidlAppData, create ? TRUE : FALSE) != FALSE;
    } else if (auto folderPath = LookUp<SHGetFolderPathFn>(shell, "SHGetFolderPathA")) {
        found =
            SUCCEEDED(folderPath(nullptr, kCsidlAppData | (create ? kCsidlFlagCreate : 0), nullptr, 0, path));
    } else {
        HMODULE shfolder = LoadLibraryA("shfolder.dll");
        if (auto folderPath2 = LookUp<SHGetFolderPathFn>(shfolder, "SHGetFolderPathA")) {
            found = SUCCEEDED(
                folderPath2(nullptr, kCsidlAppData | (create ? kCsidlFlagCreate : 0), nullptr, 0, path));
        }
        if (shfolder != nullptr)
            FreeLibrary(shfolder);
    }
    if (shell != nullptr)
        FreeLibrary(shell);
    return found && path[0] != '\0';
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
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    std::snprintf(name, sizeof name, "ZephrunJournalRun_%lu", processId);
    return name;
}

}  // namespace

bool JournalFolder(std::string& folder, bool create)
{
    char appData[MAX_PATH + 1];
    if (AppDataFolder(appData, create)) {
        folder = std::string(appData) + "\\Zephlaunch";
        if (!create)
            return true;
        if (CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
            return true;
        return false;
    }
    return ControllerFolder(folder);
}

std::string JournalPath(const std::string& folder, int slot) { return folder + "\\" + JournalFileName(slot); }

std::string JournalUpdatePath(const std::string& journalPath) { return journalPath + ".new"; }

bool WriteJournalFile(const std::string& path, const std::string& text, bool claim, DWORD& error)
{
    // A claim writes to a name of its own, so two runs racing for one slot never share a file.
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%lu.claim", GetCurrentProcessId());
    const std::string update = claim ? path + suffix : JournalUpdatePath(path);

    HANDLE file =
        CreateFileA(update.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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

    auto moveFileEx = LookUp<MoveFileExFn>(GetModuleHandleA("kernel32.dll"), "MoveFileExA");
    error = ERROR_CALL_NOT_IMPLEMENTED;
    // A reader (a virus scanner, a backup) holding the journal open makes the rename fail for
    // a moment: a few tries, 20 ms apart.
    for (int attempt = 0; moveFileEx != nullptr && attempt < 10; ++attempt) {
        if (moveFileEx(update.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED)
            break;
        Sleep(20);
    }
    if (error != ERROR_CALL_NOT_IMPLEMENTED)
        return false;
    // Windows 9x/ME: no replacing rename. Until the rename, the update file is the journal
    // (ReadJournalSlot reads it when the journal is missing).
    if (!DeleteIfThere(path, error))
        return false;
    if (MoveFileA(update.c_str(), path.c_str()))
        return true;
    error = GetLastError();
    return false;
}

bool ReadJournalSlot(const std::string& path, JournalRecord& record, bool& complete)
{
    std::string text;
    if (ReadWholeFile(path, text)) {
        complete = ParseJournal(text, record);
        return true;
    }
    if (FileExists(path)) {
        complete = false;  // there, but unreadable
        return true;
    }
    // Only a complete update file stands in for a missing journal: a cut one is a write
    // that never happened.
    if (ReadWholeFile(JournalUpdatePath(path), text) && ParseJournal(text, record)) {
        complete = true;
        return true;
    }
    return false;
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
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, record.processId);
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD exitCode = 0;
    bool alive = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    if (alive) {
        // The same id with another start time is another process: the run has ended.
        auto getProcessTimes = LookUp<GetProcessTimesFn>(GetModuleHandleA("kernel32.dll"), "GetProcessTimes");
        FILETIME created, exited, kernel, user;
        if (getProcessTimes != nullptr && getProcessTimes(process, &created, &exited, &kernel, &user)) {
            const unsigned long long time =
                (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
            alive = time == record.startTime;
        }
    }
    CloseHandle(process);
    return alive;
}

bool DeadRunJournalExists()
{
    std::string folder;
    if (!JournalFolder(folder, false))
        return false;
    for (int slot = 0; slot < kJournalSlots; ++slot) {
        JournalRecord journal;
        bool complete = false;
        if (ReadJournalSlot(JournalPath(folder, slot), journal, complete) && complete
            && !JournalRunIsAlive(journal)) {
            return true;
        }
    }
    return false;
}
