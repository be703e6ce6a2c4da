// Starting programs with the user's ordinary rights. A controller that runs elevated
// (Windows Vista and later, from Start or a shortcut) would hand its administrator rights
// to everything it starts: the main application, the auto-start programs and the programs
// it restarts, explorer.exe among them, whose elevated desktop would pass them on to
// everything the user opens afterwards. Where the elevated token has an unelevated twin,
// programs are started with that one instead; elsewhere they start as CreateProcessA does.
#pragma once

#include <windows.h>

// Looks for the user's unelevated token once, before anything is stopped (the shell,
// which may serve to find it, is still running then). Call on the main thread before the
// first start; without this call programs start as CreateProcessA does.
void PrepareUserRightsStart();

// CreateProcessA without handle inheritance, with the given creation flags, working folder
// (null: the controller's) and start-up information, through the unelevated token where
// there is one. When that start fails, the program is started the ordinary way and a
// warning says so (once per run). False with the reason in GetLastError().
bool StartWithUserRights(char* commandLine, DWORD flags, const char* folder, STARTUPINFOA& startup,
                         PROCESS_INFORMATION& process);

// Starts a command line shown normally (as WinExec does) and closes the handles. False
// with the reason in error.
bool StartShownWithUserRights(const char* commandLine, const char* folder, DWORD& error);

// Seams for tests: Wine has no elevation.
// Finds a primary token of the user's ordinary rights: ERROR_SUCCESS with a token (the
// caller owns it), ERROR_SUCCESS with null (not elevated, or no unelevated twin: start as
// today), or the error that kept an existing twin from being used.
using UnelevatedTokenLookup = DWORD (*)(HANDLE* token);
// CreateProcessWithTokenW's shape.
using TokenProcessStart = BOOL(WINAPI*)(HANDLE token, DWORD logonFlags, LPCWSTR application,
                                        LPWSTR commandLine, DWORD flags, LPVOID environment, LPCWSTR folder,
                                        LPSTARTUPINFOW startup, LPPROCESS_INFORMATION process);
// null: the system's own. Each returns the previous replacement.
UnelevatedTokenLookup SetUnelevatedTokenLookup(UnelevatedTokenLookup lookup);
TokenProcessStart SetTokenProcessStart(TokenProcessStart start);
