// The run journal on disk: where it lies, how it is written so that a crash never leaves a
// half-written file, and whether the run that wrote it is still alive.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "journal/journal_text.h"

// True on the NT family (NT 4.0, 2000, XP and later), false on Windows 95/98/ME.
bool NtFamilyWindows();
// Read and write sharing, and delete sharing where Windows knows it: Windows 95/98/ME
// refuse FILE_SHARE_DELETE (ERROR_INVALID_PARAMETER), so a file opened with it never opens.
DWORD ShareWithEveryone();

// The folder of the journals: "Zephlaunch" in the local (not roaming) application-data
// folder, created when create is set, so that a journal never travels to another computer;
// or the controller's own folder where Windows has no local application-data folder. False
// when neither can be named.
bool JournalFolder(std::string& folder, bool create);
// Where earlier builds kept the journals, "%APPDATA%\Zephlaunch" (the roaming settings
// folder): only read, so that a journal left there is still restored once. False when there
// is none or it is the journal folder itself.
bool OldJournalFolder(std::string& folder);
// The name of this computer (recorded in each journal); empty when Windows cannot tell.
std::string OwnComputerName();
// True when the journal was written on another computer (a journal without a name is ours).
bool JournalOfOtherComputer(const JournalRecord& record);
// When this start of Windows began (FILETIME units): the clock less the time since the start.
unsigned long long CurrentBootTime();
// folder\zephrun_journal.ini, folder\zephrun_journal_2.ini, ... by slot.
std::string JournalPath(const std::string& folder, int slot);
// The file a journal is written to before it is renamed over the journal.
std::string JournalUpdatePath(const std::string& journalPath);

// Writes text to the update file, flushes it to the disk, and renames it over path
// (MoveFileExA on the NT family; delete and rename on Windows 95/98/ME, which has no
// replacing rename). With claim set the rename
// fails when path exists, so that two runs never take the same journal. False with the
// reason in error.
bool WriteJournalFile(const std::string& path, const std::string& text, bool claim, DWORD& error);
enum class JournalSlotState {
    Empty,       // no journal
    Unreadable,  // there, but it cannot be read now (error tells why): left alone
    Malformed,   // read, but not a complete journal of ours
    TooLarge,    // read, but with more than kMaxJournalEntries entries
    Complete,
};
// The journal of a slot: the journal file, or (after a crash between the delete and the
// rename on Windows 9x) its complete update file.
JournalSlotState ReadJournalSlot(const std::string& path, JournalRecord& record, DWORD& error);
// Renames a journal that is not one out of the way ("<path>.bad", replacing an older one),
// so that it is neither used nor lost. False with the reason in error.
bool SetJournalAside(const std::string& path, std::string& aside, DWORD& error);
// Deletes the journal and its update file; false with the reason when the journal stays.
bool DeleteJournalFiles(const std::string& path, DWORD& error);
// True when the journal or its update file exists.
bool JournalSlotTaken(const std::string& path);

// The controller's own creation time (FILETIME units); false where Windows cannot tell
// (Windows 9x/ME, whose GetProcessTimes does nothing).
bool OwnStartTime(unsigned long long& startTime);
// Runs without a start time mark themselves alive with a named mutex instead, which
// Windows removes when the process ends. Call once; the mutex lives as long as the run.
void HoldRunMutex();
// True when the run that wrote the journal is still running (or cannot be shown to have
// ended: a process that cannot be opened counts as alive unless the journal comes from an
// earlier start of Windows).
bool JournalRunIsAlive(const JournalRecord& record);

// True when a complete journal of this computer, in the journal folder or the old one,
// belongs to a run that ended without finishing (what --restore would put back); found, when
// given, receives the first such journal.
bool DeadRunJournalExists(JournalRecord* found = nullptr);
// Every such journal, in the order --restore takes them.
std::vector<JournalRecord> DeadRunJournals();

// Seam for tests: Wine keeps NT's file semantics and its newest shell in every version it
// reports. Each member null: the system's own. Returns the previous calls.
struct JournalSystemCalls {
    HANDLE(WINAPI* createFile)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* moveFileEx)(LPCSTR, LPCSTR, DWORD);
    // Looks up the shell's folder functions (SHGetSpecialFolderPathA, SHGetFolderPathA).
    FARPROC(WINAPI* getProcAddress)(HMODULE, LPCSTR);
};
JournalSystemCalls SetJournalSystemCalls(const JournalSystemCalls& calls);
