#include <windows.h>

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "controller/log_message.h"
#include "controller/run_journal.h"
#include "controller/service_open.h"
#include "service_direct/protected_services.h"
#include "support/test_services.h"

namespace {

std::mutex g_protectedLock;
std::set<std::string> g_protected;
std::multimap<std::string, std::string> g_needs;  // parent -> a dependent that keeps it from stopping
std::map<SC_HANDLE, std::string> g_opened;        // handle -> key name

// What a protected service grants anyone.
constexpr DWORD kGrantedToAll = SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_ENUMERATE_DEPENDENTS
                                | SERVICE_INTERROGATE | READ_CONTROL;
// What any other service grants a user who may stop and start it, without being an
// administrator: no generic or full access, no pause, no change of its configuration.
constexpr DWORD kGrantedToUser = kGrantedToAll | SERVICE_START | SERVICE_STOP | SERVICE_USER_DEFINED_CONTROL;

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

void RefuseStopWhileRunning(const std::string& parent, const std::string& dependent)
{
    std::lock_guard<std::mutex> hold(g_protectedLock);
    g_needs.insert({parent, dependent});
}

void UnprotectAllServices()
{
    std::lock_guard<std::mutex> hold(g_protectedLock);
    g_protected.clear();
    g_needs.clear();
}

}  // namespace zt

SC_HANDLE OpenServiceWithRights(SC_HANDLE manager, const char* name, DWORD rights)
{
    if ((rights & ~(IsProtected(name) ? kGrantedToAll : kGrantedToUser)) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    SC_HANDLE service = OpenServiceA(manager, name, rights);
    std::lock_guard<std::mutex> hold(g_protectedLock);
    if (service != nullptr)
        g_opened[service] = name;
    return service;
}

DWORD RequestServiceStop(SC_HANDLE service)
{
    {
        std::lock_guard<std::mutex> hold(g_protectedLock);
        const auto found = g_opened.find(service);
        const std::string name = found == g_opened.end() ? std::string() : found->second;
        for (auto it = g_needs.lower_bound(name); it != g_needs.upper_bound(name); ++it) {
            if (zt::ServiceState(it->second) != SERVICE_STOPPED)
                return ERROR_DEPENDENT_SERVICES_RUNNING;
        }
    }
    SERVICE_STATUS status = {};
    return ControlService(service, SERVICE_CONTROL_STOP, &status) ? ERROR_SUCCESS : GetLastError();
}

// The journal's service calls are captured with the messages, at level -1.
bool JournalAddService(const char* key)
{
    LogMessage(-1, "+%s", key);
    return true;
}
void JournalRemoveService(const char* key) { LogMessage(-1, "-%s", key); }
void JournalStopOver() {}
