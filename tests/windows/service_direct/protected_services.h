// A stand-in for the controller's OpenServiceWithRights and RequestServiceStop in the tests
// that link the service routines directly. Every service grants only what a user who may
// stop and start it gets (no generic or full access); services named by ProtectService are
// "protected", as Windows 10 protects some of its own services, and refuse every right beyond
// reading their configuration and status with ERROR_ACCESS_DENIED, also to administrators.
// RefuseStopWhileRunning makes STOP of parent fail with ERROR_DEPENDENT_SERVICES_RUNNING while
// dependent has not stopped, as every Windows NT refuses it. Wine's manager does neither.
#pragma once

#include <string>

namespace zt {

void ProtectService(const std::string& name);
void RefuseStopWhileRunning(const std::string& parent, const std::string& dependent);
void UnprotectAllServices();

}  // namespace zt
