// Opening a service and sending it STOP, for phase 3 and the dependents search. In a file
// of their own, so that tests which link those routines directly can stand in a manager
// that refuses rights (as Windows does for its protected services) or refuses STOP while
// dependents run (as every Windows NT does, and Wine's manager never does).
#pragma once

#include <windows.h>

// OpenServiceA with the given rights; null with the error set on failure.
SC_HANDLE OpenServiceWithRights(SC_HANDLE manager, const char* name, DWORD rights);

// ControlService(SERVICE_CONTROL_STOP); 0 when the request was accepted, else its error.
DWORD RequestServiceStop(SC_HANDLE service);
