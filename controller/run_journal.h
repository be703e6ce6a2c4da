// The journal of the current run: what it stopped and has not put back yet. It exists only
// for a profile with something to stop; every recording call is then written to the disk
// before it returns, and does nothing otherwise. The calls may come from any thread.
#pragma once

#include <windows.h>

#include <string>

#include "journal/journal_text.h"

// True when [Programs] or [Services] has an entry to stop, or the run switches the power plan
// or the screen saver (powerplan, keepawake): only such a run keeps a journal (and only such a
// run looks for the journal of a run that died before it).
bool JournalNeeded();
// Before phase 2: writes the first journal when JournalNeeded(). A journal that cannot be
// written is reported once; the run goes on without it.
void JournalBegin();
// The calls that record something about to be stopped return false once the journal was
// handed over (JournalHandOver): the caller then stops nothing more. When they return true,
// the caller's stop is under way until it calls JournalStopOver.
// A "Stop & Restart" program about to be ended, with the path phase 9 restarts.
bool JournalAddProgram(const char* key, const char* path);
// A "Stop & Restart" service about to be sent the stop request; removed again when it
// turns out not to be running.
bool JournalAddService(const char* key);
void JournalRemoveService(const char* key);
// The stop begun after JournalAddProgram or JournalAddService returned true is over.
void JournalStopOver();
// True once the journal was handed over: a stop under way gives up where it can.
bool JournalHandedOver();
// The saved AutoRestartShell value, before the registry value is zeroed.
bool JournalRecordShellValue(DWORD value);
// An auto-start program that phase 6 started.
void JournalAddAutoStarted(const char* path, DWORD processId);
// Like the calls above, these two return false once the journal was handed over: the
// caller then changes nothing.
// The power plan active before the run and the one it switches to, before the switch; two
// empty texts once the plan is back (or was left on purpose).
bool JournalRecordPowerPlans(const char* before, const char* chosen);
// The screen saver was on and is about to be turned off (true), or is on again (false).
bool JournalRecordScreenSaverOff(bool off);
// The console is closing or the session ending (any thread): every later change is refused,
// stops under way get up to 2 seconds to end, and path and record receive the journal as it
// stands on the disk, for its restore. False when the run keeps no journal (or when it was
// handed over before).
bool JournalHandOver(std::string& path, JournalRecord& record);
// The run reached its end: the journal is deleted, or, when the shell-restart value could
// not be written back (shellValueLeft) or the power plan or screen saver could not be put
// back, rewritten to hold just those.
void JournalEnd(bool shellValueLeft);
