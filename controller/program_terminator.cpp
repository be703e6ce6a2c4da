#include "controller/program_terminator.h"

#include <cstring>

ProgramTerminator::ProgramTerminator()
    : m_handled(false), m_findOnly(false), m_foundPid(0), m_closePid(0), m_windowFound(false) {
  std::memset(m_programName, 0, sizeof m_programName);
}

BOOL ProgramTerminator::OnProcess(const char*, DWORD) { return TRUE; }
