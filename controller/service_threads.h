// Worker threads of phases 3 and 8: one per [Services] entry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "profile/profile_keys.h"

// The block a phase allocates for one thread (with new) and the thread deletes.
struct ServiceThreadBlock {
    SC_HANDLE manager;                     // shared, only read by the threads
    char key[profile::kMaxKeyLength + 1];  // the [Services] key: the service's key name
    bool journal;                          // stop: a "Stop & Restart" entry, kept in the run journal
    // Stop: the keys of the profile's [Services] entries (shared, only read); null: none.
    const std::vector<std::string>* listed = nullptr;
};

// Sends the stop request and waits by the service's wait hint. When running dependents
// keep the service from stopping, stops them first (journaled and started again with a
// "Stop & Restart" entry, unless they have an entry of their own) and sends the request
// again. Records a service that was not running. Returns 0.
DWORD WINAPI StopServiceThread(LPVOID parameter);
// Starts the service and waits by its wait hint, then the dependents phase 3 stopped for
// it. Returns 0, or 1 when the service could not be opened or started (--restore runs it
// directly and counts the failures).
DWORD WINAPI StartServiceThread(LPVOID parameter);
