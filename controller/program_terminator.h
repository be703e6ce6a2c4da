// Finds running programs by executable name and ends them: WM_CLOSE to their top-level
// windows, then TerminateProcess when they do not close in time. In find-only mode the
// next match is only recorded.
#pragma once

#include <vector>

#include "procenum/process_enumerator.h"

class ProgramTerminator : public ProcessEnumerator {
public:
    ProgramTerminator();

    // Ends the first process whose name matches m_programName (or, in find-only mode,
    // records its id) and then ends the walk; returns TRUE for every other process.
    BOOL OnProcess(const char* processName, DWORD processId) override;

    // Later passes pass over this process (one that was tried often enough and never ended).
    void IgnoreProcess(DWORD processId) { m_ignoredPids.push_back(processId); }

    char m_programName[256];
    bool m_handled;   // a matching process was ended (closed by itself or terminated)
    bool m_findOnly;  // record the next match in m_foundPid instead of ending it
    DWORD m_foundPid;
    DWORD m_closePid;    // the process whose windows CloseWindowsOfProcess closes
    bool m_windowFound;  // CloseWindowsOfProcess posted WM_CLOSE to at least one window
    DWORD m_endedPid;    // the process that set m_handled
    // Called with m_beforeEndContext just before a matching process is ended (phase 2 keeps
    // its run journal with it); null: nothing is called.
    void (*m_beforeEnd)(void* context) = nullptr;
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

// EnumDesktopWindows (on 9x/ME EnumWindows) callback: posts WM_CLOSE to every top-level
// window of m_closePid.
BOOL CALLBACK CloseWindowsOfProcess(HWND window, LPARAM terminator);

// The shell-restart setting around explorer.exe. Saving keeps the first value read until it
// was restored, so ending a second shell instance cannot save the 0 written for the first.
void SaveAndDisableShellRestart();
// Returns the registry result (ERROR_SUCCESS when the value was written back).
long RestoreShellRestart();
// At the end of a run: writes the saved value back when the run zeroed it and nothing put it
// back yet (a shell marked "Stop", or ended as an auto-start program). Writing the value does
// not start the shell. False, after an error line, when the value stays changed.
bool RestoreShellRestartAtEnd();
// The value now (1 when it is missing or unreadable, as the shell reads it); reads only.
unsigned long ReadShellRestart();
