#include "controller/run_journal.h"

#include <string>

#include "controller/journal_file.h"
#include "controller/log_message.h"
#include "controller/logic/journal_text.h"
#include "controller/profile_reader.h"
#include "controller/run_state.h"
#include "profile/entry_values.h"
#include "profile/profile_keys.h"

namespace {

// Set up by JournalBegin on the main thread before any worker thread exists; afterwards
// g_journalActive is only read, and the record and the file are changed under g_journalLock.
bool g_journalActive = false;
CRITICAL_SECTION g_journalLock;
JournalRecord g_journal;
std::string g_journalPath;
bool g_journalFailed = false;  // a write failed; reported once

bool ProfileHasSomethingToStop() {
  bool found = false;
  WalkProfileSection(profile::kPrograms, profile::kActionNoAction, [&](const char*, const char* value) {
    if (!profile::ProgramIsNoAction(value)) found = true;
  });
  if (found) return true;
  WalkProfileSection(profile::kServices, profile::kActionNoAction, [&](const char*, const char* value) {
    if (!profile::ServiceIsNoAction(value)) found = true;
  });
  return found;
}

void ReportWriteFailure(DWORD error) {
  LogMessage(LOG_WARNING, "\r\nWARNING: Unable to write the run journal '%s', error = %lu", g_journalPath.c_str(),
             error);
}

// Writes the record; the caller holds g_journalLock. Returns the error to report (0: none).
DWORD WriteLocked() {
  DWORD error = 0;
  if (WriteJournalFile(g_journalPath, FormatJournal(g_journal), false, error)) return 0;
  if (g_journalFailed) return 0;
  g_journalFailed = true;
  return error == 0 ? ERROR_WRITE_FAULT : error;
}

// Changes the record under the lock and writes it when change says it changed. The
// warning is printed after the lock is left (LogMessage takes the output lock, and the
// shell-value hook calls in while holding that).
template <typename Change>
void Record(Change&& change) {
  if (!g_journalActive) return;
  EnterCriticalSection(&g_journalLock);
  const DWORD error = change(g_journal) ? WriteLocked() : 0;
  LeaveCriticalSection(&g_journalLock);
  if (error != 0) ReportWriteFailure(error);
}

}  // namespace

void JournalBegin() {
  if (!ProfileHasSomethingToStop()) return;
  InitializeCriticalSection(&g_journalLock);

  g_journal = JournalRecord();
  g_journal.processId = GetCurrentProcessId();
  if (!OwnStartTime(g_journal.startTime)) {
    g_journal.startTime = 0;
    HoldRunMutex();
  }
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
    if (JournalSlotTaken(path)) continue;  // another run's (alive, or one that could not be restored)
    if (WriteJournalFile(path, text, true, error)) {
      g_journalPath = path;
      g_journalActive = true;
      return;
    }
  }
  g_journalPath = JournalPath(folder, 0);
  ReportWriteFailure(error);
}

void JournalAddProgram(const char* key, const char* path) {
  Record([&](JournalRecord& journal) { return journal.AddProgram(key, path); });
}

void JournalAddService(const char* key) {
  Record([&](JournalRecord& journal) { return journal.AddService(key); });
}

void JournalRemoveService(const char* key) {
  Record([&](JournalRecord& journal) { return journal.RemoveService(key); });
}

void JournalRecordShellValue(DWORD value) {
  Record([&](JournalRecord& journal) { return journal.SetShellValue(value); });
}

void JournalAddAutoStarted(const char* path, DWORD processId) {
  Record([&](JournalRecord& journal) {
    journal.AddAutoStarted(path, processId);
    return true;
  });
}

void JournalEnd() {
  if (!g_journalActive) return;
  EnterCriticalSection(&g_journalLock);
  g_journalActive = false;
  DWORD error = 0;
  const bool deleted = DeleteJournalFiles(g_journalPath, error);
  LeaveCriticalSection(&g_journalLock);
  if (!deleted) {
    LogMessage(LOG_WARNING, "\r\nWARNING: Unable to delete the run journal '%s', error = %lu", g_journalPath.c_str(),
               error);
  }
}
