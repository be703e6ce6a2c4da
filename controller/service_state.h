// The keys of [Services] entries that phase 3 found not running, so that phase 8 leaves
// them stopped. Appended under g_outputLock by the phase 3 threads; read by phase 8 on
// the main thread after every phase 3 thread has ended.
#pragma once

#include "controller/logic/program_not_running.h"

extern NotRunningList g_notRunningServices;

// Records one key (takes g_outputLock). Keys are kept whole and without a count limit,
// so a run that finds more than 64 services stopped still restarts none of them.
void RecordServiceNotRunning(const char* key);
