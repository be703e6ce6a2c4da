// The run journal on disk: where it lies, how it is written so that a crash never leaves a
// half-written file, and whether the run that wrote it is still alive.
#pragma once

#include <windows.h>

#include <string>

#include "controller/logic/journal_text.h"

// The folder of the journals: the settings folder "%APPDATA%\Zephlaunch" (created when
// create is set), or the controller's own folder where Windows has no application-data
// folder. False when neither can be named.
bool JournalFolder(std::string& folder, bool create);
// folder\zephrun_journal.ini, folder\zephrun_journal_2.ini, ... by slot.
std::string JournalPath(const std::string& folder, int slot);
// The file a journal is written to before it is renamed over the journal.
std::string JournalUpdatePath(const std::string& journalPath);

// Writes text to the update file, flushes it to the disk, and renames it over path
// (MoveFileExA where Windows has it, else delete and rename). With claim set the rename
// fails when path exists, so that two runs never take the same journal. False with the
// reason in error.
bool WriteJournalFile(const std::string& path, const std::string& text, bool claim, DWORD& error);
// The journal of a slot: the journal file, or (after a crash between the delete and the
// rename on Windows 9x) its complete update file. Returns false when there is none;
// complete tells whether the text is a whole journal.
bool ReadJournalSlot(const std::string& path, JournalRecord& record, bool& complete);
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
// ended: a process of another user that cannot be opened counts as alive).
bool JournalRunIsAlive(const JournalRecord& record);

// True when a complete journal in the journal folder belongs to a run that ended without
// finishing (what --restore would put back).
bool DeadRunJournalExists();
