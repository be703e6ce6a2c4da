// Opening one service by key name for the dependents search. In a file of its own, so that
// tests which link the search directly can stand in a manager that refuses rights, as
// Windows does for its protected services.
#pragma once

#include <windows.h>

// OpenServiceA with the given rights; null with the error set on failure.
SC_HANDLE OpenServiceWithRights(SC_HANDLE manager, const char* name, DWORD rights);
