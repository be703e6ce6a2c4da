// Walks the running processes, and the modules of one process, on every Windows version:
// the Toolhelp functions on Windows 9x/ME and 2000 and later, PSAPI (with VDMDBG) on
// Windows NT 4.0 and older NT. Every entry point is looked up by name at run time, so
// neither program needs those DLLs at load time.
//
// Names reported to OnProcess: the executable's file name on Windows 2000 and later, its
// full path on Windows 9x/ME (Toolhelp) and on Windows NT 4.0 (PSAPI).
#pragma once

#include <windows.h>

class ProcessEnumerator {
public:
    ProcessEnumerator();
    virtual ~ProcessEnumerator();

    ProcessEnumerator(const ProcessEnumerator&) = delete;
    ProcessEnumerator& operator=(const ProcessEnumerator&) = delete;

    // Notifications; return FALSE to end the walk.
    virtual BOOL OnProcess(const char* processName, DWORD processId);
    virtual BOOL OnModule(HMODULE module, const char* fullPath, const char* moduleName);

    // Loads PSAPI.DLL and VDMDBG.DLL where they are needed; true when nothing is missing.
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
    HMODULE m_hVdmdbg;

private:
    bool EnumerateProcessesToolhelp();
    bool EnumerateProcessesPsapi();
    bool EnumerateModulesToolhelp(DWORD processId);
    bool EnumerateModulesPsapi(DWORD processId);

    bool m_ntFamily;
};
