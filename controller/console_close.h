// The console's control events during a run. Ctrl+C and Ctrl+Break are ignored, with one
// line saying how a run ends. Closing the console, signing out and shutting down (as console
// events, or as WM_ENDSESSION to a hidden window) put back what the run stopped, from its
// journal, in the time Windows gives before it ends the process (about 5 seconds for a
// close, 20 otherwise); what is not put back by then stays in the journal for the next run
// or --restore.
#pragma once

// Before phase 1 of a normal run; with watchSession (a run with a journal) also the hidden
// window that hears of the session's end where the console's events do not come.
void InstallConsoleHandler(bool ntFamily, bool watchSession);
// Before phase 8: the run puts back what it stopped itself. Where the console's close came
// first and is doing that already, the calling thread waits here until the process ends.
void ClaimTheRestore();
// Before phase 5: where the console's close is putting back what the run stopped, the
// calling thread starts nothing more and waits here until the process ends.
void HoldIfTheConsoleCloses();
// After the journal's end: a close that comes now has nothing left to wait for.
void RestoreFinished();
