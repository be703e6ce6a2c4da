// Finds running programs by executable name and ends them: WM_CLOSE to their top-level
// windows, then TerminateProcess when they do not close in time. In find-only mode the
// next match is only recorded.
#pragma once

#include "procenum/process_enumerator.h"

class ProgramTerminator : public ProcessEnumerator {
 public:
  ProgramTerminator();

  BOOL OnProcess(const char* processName, DWORD processId) override;

  char m_programName[256];
  bool m_handled;
  bool m_findOnly;
  DWORD m_foundPid;
  DWORD m_closePid;
  bool m_windowFound;
};

// EnumDesktopWindows callback: posts WM_CLOSE to every top-level window of m_closePid.
BOOL CALLBACK CloseWindowsOfProcess(HWND window, LPARAM terminator);
