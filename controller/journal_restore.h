// Putting back what an unfinished run stopped, from its journal: "zephrun --restore", and
// the start of a normal run that finds the journal of a run that died.
#pragma once

#include <string>

#include "journal/journal_text.h"

enum class RestoreResult {
    Nothing,   // no journal of a dead run
    Restored,  // everything listed was put back
    Failed,    // something could not be put back (reported)
    Busy,      // the restore lock could not be had: nothing was looked at (reported)
};

// Restores every journal whose run has ended: its services with phase 8's messages, the
// shell-restart value, its programs with phase 9's messages (except those running), then
// lists the auto-start programs it left running and deletes the journal. In a normal run
// (normalRun) each journal is announced with a warning line; with --restore the journals
// of runs still alive are named. Services are started only on the NT family.
RestoreResult RestoreUnfinishedRuns(bool normalRun, bool ntFamily);
// Restores the running controller's own journal, as it stands (the console is closing, or the session
// ending).
bool RestoreOwnJournal(const std::string& path, const JournalRecord& record, bool ntFamily);
