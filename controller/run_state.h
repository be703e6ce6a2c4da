// Process-wide state of one controller run, set up by the entry routine.
#pragma once

#include <windows.h>

#include "controller/program_terminator.h"

constexpr int kNotRunningSlots = 64;

extern char g_profilePath[512];
extern HANDLE g_console;
extern CRITICAL_SECTION g_outputLock;
extern int g_logToFile;
extern int g_nonResponseSeconds;
extern ProgramTerminator g_programFinder;
extern PROCESS_INFORMATION g_mainProcess;
extern DWORD g_savedAutoRestartShell;
