// One way for the GUI to hand a file, folder or address to the shell, or to start a
// program through it (for example with the "runas" verb). Every shell execution of
// the GUI goes through RunShellExecute, so a test can install a recorder with
// SetShellExecuteHandler and see exactly what would have been started.
//
//   ShellExecuteRequest request;
//   request.verb = "open";
//   request.file = "http://example.org/";
//   ShellExecuteOutcome outcome = RunShellExecute(request);
//   if (!outcome.ok) ... outcome.error ...
#pragma once

#include <windows.h>

#include <string>

struct ShellExecuteRequest {
    HWND owner = nullptr;
    std::string verb;  // empty: the default verb
    std::string file;
    std::string parameters;  // empty: none
    std::string directory;   // empty: the current directory
    int show = SW_SHOWNORMAL;
    bool wantProcess = false;  // return the started process's handle (ShellExecuteEx)
};

struct ShellExecuteOutcome {
    bool ok = false;
    DWORD error = 0;           // GetLastError, or the shell's code (<= 32) when it gave one
    HANDLE process = nullptr;  // with wantProcess, when a process was started; the caller closes it
};

using ShellExecuteHandler = ShellExecuteOutcome (*)(const ShellExecuteRequest& request);

// Runs the request through the current handler (the shell itself unless replaced).
ShellExecuteOutcome RunShellExecute(const ShellExecuteRequest& request);
// Replaces the handler (null: the shell again); returns the previous one. For tests.
ShellExecuteHandler SetShellExecuteHandler(ShellExecuteHandler handler);
// The shell itself: ShellExecuteExA when a process handle is wanted or a verb other
// than the default or "open" is asked for, otherwise ShellExecuteA.
ShellExecuteOutcome ShellExecuteWithShell(const ShellExecuteRequest& request);
