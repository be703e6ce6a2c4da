// The real main application behind a launcher (MainAppExe): found by its executable name
// once it runs in the run's session, and waited for until no copy of it runs any more.
#pragma once

#include <windows.h>

// After the last copy has ended: how long the run looks for the program to start again
// (a program that restarts itself after a settings change or an update).
constexpr int kMainAppRestartSeconds = 5;

// Looks for processes named exeName, every half second for up to waitSeconds (0: one
// look). Every copy found gets priorityClass. False when none ran in that time.
bool FindMainAppCopies(const char* exeName, int waitSeconds, DWORD priorityClass);

// Waits until no copy found so far, nor any that starts meanwhile, runs, and none starts
// again within kMainAppRestartSeconds after the last has ended. New copies get the priority.
void WaitForMainAppCopies();
