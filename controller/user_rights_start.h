// Starting programs with the user's ordinary rights. A controller that runs elevated
// (Windows Vista and later, from Start or a shortcut) would hand its administrator rights
// to everything it starts: the main application, the auto-start programs and the programs
// it restarts, explorer.exe among them, whose elevated desktop would pass them on to
// everything the user opens afterwards. Where the elevated token has an unelevated twin,
// programs are started with the user's unelevated token instead; elsewhere they start as
// CreateProcessA does.
#pragma once

#include <windows.h>

// Looks for the user's unelevated token once, before anything is stopped (the shell,
// which may serve to find it, is still running then): the elevated token's linked twin
// where it can be used, else the token of callerProcessId (the GUI that started the run;
// 0: none), of the shell, or of any process of the same user in this session that runs
// unelevated. Call on the main thread before the first start; without this call programs
// start as CreateProcessA does.
void PrepareUserRightsStart(DWORD callerProcessId);

// Who may get the run's administrator rights when no unelevated token can be used.
enum class StartRights {
    MayFallBack,     // what the profile starts: after one warning a run, as CreateProcessA does
    UserRightsOnly,  // what a journal restores: never elevated
};

// False when the run is elevated and has no unelevated token to start programs with.
bool UserRightsAvailable();

// Says once a run, in one line, that the programs and the shell were not started for want
// of the user's ordinary rights, and how the user starts the shell.
void ReportNoUserRights();

// CreateProcessA without handle inheritance, with the given creation flags, working folder
// (null: the controller's) and start-up information, through the unelevated token where
// there is one; the caller's environment goes with it. When that start fails, a program
// that may fall back is started the ordinary way and a warning says so (once per run);
// explorer.exe and UserRightsOnly starts are never started elevated. False with the reason
// in GetLastError().
bool StartWithUserRights(char* commandLine, DWORD flags, const char* folder, STARTUPINFOA& startup,
                         PROCESS_INFORMATION& process, StartRights rights);

// Starts a command line shown normally (as WinExec does) and closes the handles. False
// with the reason in error.
bool StartShownWithUserRights(const char* commandLine, const char* folder, DWORD& error);

// Seams for tests: Wine has no elevation, no linked tokens and starts nothing with a token.
// The token calls as advapi32 and user32 make them; a replacement plays what Windows does.
struct TokenCalls {
    BOOL(WINAPI* open)(HANDLE process, DWORD rights, PHANDLE token);
    BOOL(WINAPI* info)(HANDLE token, int infoClass, LPVOID info, DWORD size, PDWORD needed);
    BOOL(WINAPI* duplicate)
    (HANDLE token, DWORD rights, LPSECURITY_ATTRIBUTES attributes, int level, int type, PHANDLE copy);
    DWORD (*shellProcessId)();  // the process of the shell's window; 0: no shell runs
};
// CreateProcessWithTokenW's shape.
using TokenProcessStart = BOOL(WINAPI*)(HANDLE token, DWORD logonFlags, LPCWSTR application,
                                        LPWSTR commandLine, DWORD flags, LPVOID environment, LPCWSTR folder,
                                        LPSTARTUPINFOW startup, LPPROCESS_INFORMATION process);
// null: the system's own. Each returns the previous replacement.
const TokenCalls* SetTokenCalls(const TokenCalls* calls);
TokenProcessStart SetTokenProcessStart(TokenProcessStart start);
