// The controller's runs whose output the GUI shows in a text window: the preview of a
// profile's run and the restore of a run that did not finish; and the wait for a run.
#pragma once

#include <windows.h>

#include <string>

// Shows what a run of the profile would do (the controller's --dry-run, captured).
void ShowRunPreview(HWND owner, const std::string& profilePath);
// Waits for a run started by Start to end, with a small window saying so; the GUI's
// windows answer meanwhile, owner stays disabled.
void WaitForRunToEnd(HWND owner, HANDLE process);
// When a dead run's journal exists, asks whether to restore it now, runs the restore and
// shows its outcome.
void OfferRestoreOfUnfinishedRun(HWND owner);
