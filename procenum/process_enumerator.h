// Walks the running processes, and the modules of one process, on every Windows version:
// the Toolhelp functions on Windows 9x/ME and 2000 and later, PSAPI on Windows NT 4.0 and
// older NT (16-bit tasks inside NTVDM are not listed: no profile names them). Every entry
// point is looked up by name at run time, so neither program needs those DLLs at load time.
//
// Names reported to OnProcess: the executable's file name on Windows 2000 and later, its
// full path on Windows 9x/ME (Toolhelp) and on Windows NT 4.0 (PSAPI).
//
// Processes of another signed-in user's session are not reported, so that nothing a run
// matches belongs to another user: a process is left out only when its session was read
// (WTSEnumerateProcessesW where it exists, else ProcessIdToSessionId) and is neither the
// caller's own nor session 0 (services and their helpers). Where the system cannot tell
// sessions apart (no ProcessIdToSessionId, or it fails for the caller itself) every
// process is reported.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

// ProcessIdToSessionId's shape. Replaceable, so that tests can place processes in another
// session, which a system with one session never shows; a replacement stands in for
// WTSEnumerateProcessesW as well.
using SessionIdLookup = BOOL(WINAPI*)(DWORD processId, DWORD* sessionId);
// null: the system's own (looked up by name). Returns the previous replacement.
SessionIdLookup SetSessionIdLookup(SessionIdLookup lookup);

class ProcessEnumerator {
public:
    ProcessEnumerator();
    virtual ~ProcessEnumerator();

    ProcessEnumerator(const ProcessEnumerator&) = delete;
    ProcessEnumerator& operator=(const ProcessEnumerator&) = delete;

    // Notifications; return FALSE to end the walk.
    virtual BOOL OnProcess(const char* processName, DWORD processId);
    virtual BOOL OnModule(HMODULE module, const char* fullPath, const char* moduleName);

    // Loads PSAPI.DLL where it is needed; true when nothing is missing.
    // Call once before walking.
    bool LoadHelperLibraries();

    // True when a walk was made (to its end or until a notification returned FALSE);
    // false when an entry point is missing or the list cannot be read.
    bool EnumerateProcesses();
    bool EnumerateModules(DWORD processId);

    bool UsesPsapi() const { return m_usePsapi; }
    // The Windows NT family (as opposed to Windows 9x/ME), as GetVersionExA reported it.
    bool IsNtFamily() const { return m_ntFamily; }

protected:
    bool m_usePsapi;
    HMODULE m_hPsapi;

private:
    bool EnumerateProcessesToolhelp();
    bool EnumerateProcessesPsapi();
    bool EnumerateModulesToolhelp(DWORD processId);
    bool EnumerateModulesPsapi(DWORD processId);

    bool m_ntFamily;
    // Set for one process walk: the lookup in use (null: every process counts) and the
    // caller's own session.
    SessionIdLookup m_sessionLookup = nullptr;
    DWORD m_ownSession = 0;
    std::vector<std::pair<DWORD, DWORD>> m_sessions;  // process id and session, read at once
    void BeginSessionFilter();
    bool InOwnSession(DWORD processId) const;
};
