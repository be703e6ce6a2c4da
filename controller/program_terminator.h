// Finds running programs by executable name and ends them: WM_CLOSE to their top-level
// windows, then TerminateProcess when they do not close in time. In find-only mode the
// next match is only recorded.
#pragma once

#include <vector>

#include "procenum/process_enumerator.h"

// OpenProcess's shape. Replaceable for tests: Wine opens every process with full rights, so
// the refusals of an elevated, protected or hardened program are played through it.
using ProcessOpen = HANDLE(WINAPI*)(DWORD rights, BOOL inherit, DWORD processId);
// null: OpenProcess. Returns the previous replacement.
ProcessOpen SetProcessOpen(ProcessOpen open);

class ProgramTerminator : public ProcessEnumerator {
public:
    ProgramTerminator();

    // Ends the first process whose name matches m_programName (or, in find-only mode,
    // records its id) and then ends the walk; returns TRUE for every other process. A match
    // that refuses the rights to end it is reported, passed over from then on, and the walk
    // goes on.
    BOOL OnProcess(const char* processName, DWORD processId) override;

    // Later passes pass over this process (one that was tried often enough and never ended).
    void IgnoreProcess(DWORD processId) { m_ignoredPids.push_back(processId); }

    char m_programName[256];
    bool m_handled;   // a matching process was ended (closed by itself or terminated)
    bool m_refused;   // a matching process refused to be opened (it runs on)
    bool m_findOnly;  // record the next match in m_foundPid instead of ending it
    DWORD m_foundPid;
    DWORD m_closePid;    // the process whose windows CloseWindowsOfProcess closes
    bool m_windowFound;  // CloseWindowsOfProcess posted WM_CLOSE to at least one window
    DWORD m_endedPid;    // the process that set m_handled
    // Called with m_beforeEndContext just before a matching process is ended (phase 2 keeps
    // its run journal with it); null: nothing is called. False: the process is left alone.
    // True: a stop under way in the run journal, over (JournalStopOver) once the process is
    // dealt with.
    bool (*m_beforeEnd)(void* context) = nullptr;
    void* m_beforeEndContext = nullptr;
    // Asked with m_acceptContext about each process whose name matches; only those it
    // accepts are ended (phase 7 ends only what the run started). Null: every match.
    bool (*m_accept)(DWORD processId, void* context) = nullptr;
    void* m_acceptContext = nullptr;

private:
    bool IsIgnored(DWORD processId) const;
    void EndProcess(HANDLE process, DWORD processId);

    std::vector<DWORD> m_ignoredPids;
};

// "ERROR: Unable to list the running programs - <name> <outcome>": a walk that failed
// (on Windows NT 4.0 without PSAPI.DLL), so that no caller takes it for "not running".
void ReportProcessListFailure(const char* name, const char* outcome);

// EnumDesktopWindows (on 9x/ME EnumWindows) callback: posts WM_CLOSE to every top-level
// window of m_closePid.
BOOL CALLBACK CloseWindowsOfProcess(HWND window, LPARAM terminator);

// The shell-restart setting around explorer.exe. Saving keeps the first value read until it
// was restored, so ending a second shell instance cannot save the 0 written for the first.
// False when the run journal was handed over: the value is left alone, the shell too.
bool SaveAndDisableShellRestart();
// Returns the registry result (ERROR_SUCCESS when the value was written back).
long RestoreShellRestart();
// At the end of a run: writes the saved value back when the run zeroed it and nothing put it
// back yet (a shell marked "Stop", or ended as an auto-start program). Writing the value does
// not start the shell. False, after an error line, when the value stays changed.
bool RestoreShellRestartAtEnd();
// The value now (1 when it is missing or unreadable, as the shell reads it); reads only.
unsigned long ReadShellRestart();
