// The dependency list of a service as the Service Control Manager stores it in the
// registry (the DependOnService value of the service's key). Used where the manager
// reports an empty list although the service has dependencies: Wine's manager never
// fills lpDependencies of QueryServiceConfig. On Windows both lists are the same.
#pragma once

#include <string>

// The NUL-separated names, ending with an empty name; empty when the service has none
// or the value cannot be read.
std::string ReadRegisteredDependencies(const char* serviceName);
