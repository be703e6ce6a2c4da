#include "controller/service_state.h"

#include <windows.h>

#include "controller/run_state.h"

NotRunningList g_notRunningServices;

void RecordServiceNotRunning(const char* key)
{
    EnterCriticalSection(&g_outputLock);
    g_notRunningServices.Add(key);
    LeaveCriticalSection(&g_outputLock);
}
