// [Configuration] keepawake=1: while the controller waits for the main application, Windows
// neither sleeps nor turns the display off (SetThreadExecutionState, cleared by Windows when
// the process ends), and the screen saver is off (SPI_SETSCREENSAVEACTIVE for the session
// only, nothing written to the user's settings). A screen saver that was on is recorded in the
// run journal and turned on again after the main application, or by --restore.
#pragma once

#include "journal/journal_text.h"

// Before phase 5 starts the main application.
void BeginKeepAwake();
// After the main application (and phase 7).
void EndKeepAwake();
// --restore: turns a dead run's screen saver back on. False when that failed (kept in left).
bool RestoreScreenSaver(const JournalRecord& journal, JournalRecord& left);
// --dry-run.
void DescribeKeepAwake();
