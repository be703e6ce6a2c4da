// The wait of the service routines for a service that reports a pending state.
#pragma once

#include <windows.h>

// Waits while the service reports pendingState: polls by its wait hint and ends when the
// state changes or the hint passes without checkpoint progress (silently), or after the
// overall limit. With printDots a "." is printed after every pause. A status that cannot
// be read ends the wait with an error line naming name.
void WaitWhileServicePending(SC_HANDLE service, DWORD pendingState, bool printDots, const char* name);
