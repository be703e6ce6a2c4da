// The services that depend on a service phase 3 stops: found, stopped before it, and
// started again after it in phase 8.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct DependentService {
    std::string name;         // key name
    std::string displayName;  // the key name where none can be read
};

// The active services that depend on key at any depth, in the order to stop them (a
// service's own dependents before it). Asks EnumDependentServicesA; where that reports
// none (Wine's manager never does), reads the dependency lists of every Win32 service.
// Reads only.
std::vector<DependentService> ActiveDependents(SC_HANDLE manager, const char* key);

// Whether name is among keys (the [Services] entries of the profile), letter case ignored.
bool HasOwnEntry(const std::vector<std::string>* keys, const char* name);

// After key refused STOP because of running dependents: stops each of them and waits until
// it has stopped. With restart, those without an entry of their own in listed are journaled
// before their stop request and are started again after key (DependentsToRestart). When a
// service on the never-stop list is among them, nothing is stopped: a warning names it and
// the result is false.
bool StopDependentServices(SC_HANDLE manager, const char* key, bool restart,
                           const std::vector<std::string>* listed);

// Whether this run asked the service to stop as a dependent of another (it then counts as
// stopped by the run, also when its own stop request finds it stopped).
bool WasStoppedAsDependent(const char* key);

// The dependents stopped for key that are to run again, in the order to start them.
std::vector<std::string> DependentsToRestart(const char* key);
