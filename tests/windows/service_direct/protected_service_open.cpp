#include <windows.h>

#include <mutex>
#include <set>
#include <string>

#include "controller/service_open.h"
#include "service_direct/protected_services.h"

namespace {

std::mutex g_protectedLock;
std::set<std::string> g_protected;

// What a protected service grants anyone.
constexpr DWORD kGrantedToAll = SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_ENUMERATE_DEPENDENTS
                                | SERVICE_INTERROGATE | READ_CONTROL;

bool IsProtected(const char* name)
{
    std::lock_guard<std::mutex> hold(g_protectedLock);
    return g_protected.count(name) != 0;
}

}  // namespace

namespace zt {

void ProtectService(const std::string& name)
{
    std::lock_guard<std::mutex> hold(g_protectedLock);
    g_protected.insert(name);
}

void UnprotectAllServices()
{
    std::lock_guard<std::mutex> hold(g_protectedLock);
    g_protected.clear();
}

}  // namespace zt

SC_HANDLE OpenServiceWithRights(SC_HANDLE manager, const char* name, DWORD rights)
{
    if (IsProtected(name) && (rights & ~kGrantedToAll) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return OpenServiceA(manager, name, rights);
}
