// Stopping the services that depend on a service which refused to stop because of them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Stops every Win32 service that lists key among its dependencies (direct dependents
// only; deeper ones are reached when a dependent reports dependents of its own). When a
// service on the never-stop list depends on key at any depth, nothing is stopped: a
// warning names it and the result is false.
bool StopDependentServices(SC_HANDLE manager, const char* key);

// Whether this run asked the service to stop as a dependent of another (it then counts as
// stopped by the run, also when its own stop request finds it stopped).
bool WasStoppedAsDependent(const char* key);

// Sends the stop request to one dependent (open handle, its key name). Returns at once
// when the request is accepted; waits (printing dots) only where the service cannot
// take the request now or has running dependents of its own.
void StopDependentService(SC_HANDLE manager, SC_HANDLE service, const char* name);

// The display names of the running services that list key among their dependencies (direct
// dependents only), for a preview of what stopping key would also stop. Reads only.
std::vector<std::string> RunningDependentNames(SC_HANDLE manager, const char* key);
