// Starting the controller (zephrun.exe in the GUI's start-up folder): in a console of its
// own for a run or a restore, or hidden with its output captured for a preview.
#pragma once

#include <windows.h>

#include <string>

// The command line: the quoted zephrun.exe of folder, then arguments as given.
std::string ControllerCommandLine(const char* folder, const std::string& arguments);

// Starts the controller in a new console. On success the caller owns both handles of
// process; on failure false with the reason in GetLastError().
bool StartControllerInConsole(const char* folder, const std::string& arguments, PROCESS_INFORMATION& process);

// Runs the controller without a window, collects its standard output and error through a
// pipe and waits for it to end (at most timeoutMs, after which it is ended). False with
// the reason in error when it could not be started.
bool CaptureControllerOutput(const char* folder, const std::string& arguments, DWORD timeoutMs, std::string& output,
                             DWORD& error);

// True when a run journal in the settings folder belongs to a run that ended without
// finishing (what "zephrun.exe --restore" would put back).
bool UnfinishedRunJournalExists();
