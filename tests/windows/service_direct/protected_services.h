// A stand-in for the controller's OpenServiceWithRights in the tests that link the dependents
// search directly: services named here are "protected", as Windows 10 protects some of its
// own services, and refuse every right beyond reading their configuration and status with
// ERROR_ACCESS_DENIED, also to administrators. Wine's manager has no such services.
#pragma once

#include <string>

namespace zt {

void ProtectService(const std::string& name);
void UnprotectAllServices();

}  // namespace zt
