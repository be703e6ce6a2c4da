#include "controller/run_state.h"

#include "profile/profile_keys.h"

char g_profilePath[512];
HANDLE g_console;
CRITICAL_SECTION g_outputLock;
int g_logToFile = 0;
int g_nonResponseSeconds = profile::kDefaultNonResponseSeconds;
ProgramTerminator g_programFinder;
PROCESS_INFORMATION g_mainProcess;
DWORD g_savedAutoRestartShell = 1;
