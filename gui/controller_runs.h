// The controller's runs whose output the GUI shows in a text window: the preview of a
// profile's run and the restore of a run that did not finish.
#pragma once

#include <windows.h>

#include <string>

// Shows what a run of the profile would do (the controller's --dry-run, captured).
void ShowRunPreview(HWND owner, const std::string& profilePath);
// When a dead run's journal exists, asks whether to restore it now, runs the restore and
// shows its outcome.
void OfferRestoreOfUnfinishedRun(HWND owner);
