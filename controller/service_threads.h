// Worker threads of phases 3 and 8: one per [Services] entry.
#pragma once

#include <windows.h>

#include "profile/profile_keys.h"

// The block a phase allocates for one thread (with new) and the thread deletes.
struct ServiceThreadBlock {
    SC_HANDLE manager;                     // shared, only read by the threads
    char key[profile::kMaxKeyLength + 1];  // the [Services] key: the service's key name
    bool journal;                          // stop: a "Stop & Restart" entry, kept in the run journal
};

// Sends the stop request and waits by the service's wait hint; stops the direct
// dependents when they keep the service from stopping; records a service that was not
// running. Returns 0.
DWORD WINAPI StopServiceThread(LPVOID parameter);
// Starts the service and waits by its wait hint. Returns 0, or 1 when the service could
// not be opened or started (--restore runs it directly and counts the failures).
DWORD WINAPI StartServiceThread(LPVOID parameter);
