// Walks the running processes, and the modules of one process, on every Windows version:
// the Toolhelp functions on Windows 9x/ME and 2000 and later, PSAPI (with VDMDBG) on
// Windows NT 4.0 and older NT. Every entry point is looked up by name at run time, so
// neither program needs those DLLs at load time.
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
  bool LoadHelperLibraries();

  // True when a walk was made (to its end or until a notification returned FALSE).
  bool EnumerateProcesses();
  bool EnumerateModules(DWORD processId);

  bool UsesPsapi() const { return m_usePsapi; }

 protected:
  bool m_usePsapi;
  HMODULE m_hPsapi;
  HMODULE m_hVdmdbg;
};
