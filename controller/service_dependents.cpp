#include "controller/service_dependents.h"

#include <string>
#include <vector>

#include "controller/log_message.h"
#include "controller/logic/service_dependencies.h"
#include "controller/service_config.h"
#include "controller/service_open.h"
#include "controller/service_registry_dependencies.h"
#include "controller/service_status_wait.h"
#include "profile/name_compare.h"
#include "profile/never_stop.h"

namespace {

using EnumServicesStatusExAProc = BOOL(WINAPI*)(SC_HANDLE, SC_ENUM_TYPE, DWORD, DWORD, LPBYTE, DWORD, LPDWORD,
                                                LPDWORD, LPDWORD, LPCSTR);

constexpr DWORD kFirstEnumBufferSize = 30720;
constexpr DWORD kMaxEnumBufferSize = 64u * 1024u * 1024u;
constexpr DWORD kDependentConfigSize = 8192;
// Dependency chains are short; a deeper recursion can only come from a circular
// configuration, which would otherwise recurse until the stack is gone.
constexpr int kMaxDependentDepth = 16;
thread_local int t_dependentDepth = 0;

// The key names of all Win32 services. The first call uses a 30720-byte buffer; when the
// services do not fit, the enumeration is repeated from the start with a larger buffer:
// at least what the system asked for, and at least twice the size (some managers report
// a too small buffer without saying how much they need). False on a real failure, with
// its code in error.
bool ListWin32ServiceNames(SC_HANDLE manager, EnumServicesStatusExAProc enumerate,
                           std::vector<std::string>& names, DWORD& error)
{
    DWORD size = kFirstEnumBufferSize;
    for (;;) {
        BYTE* buffer = static_cast<BYTE*>(LocalAlloc(LPTR, size));
        if (buffer == nullptr) {
            error = GetLastError();
            return false;
        }
        DWORD needed = 0, returned = 0, resume = 0;
        const BOOL done = enumerate(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer,
                                    size, &needed, &returned, &resume, nullptr);
        const DWORD callError = done ? ERROR_SUCCESS : GetLastError();
        if (done) {
            const ENUM_SERVICE_STATUS_PROCESSA* entries =
                reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSA*>(buffer);
            for (DWORD i = 0; i < returned; ++i) {
                if (entries[i].lpServiceName != nullptr)
                    names.emplace_back(entries[i].lpServiceName);
            }
        }
        LocalFree(buffer);
        if (done)
            return true;
        if (callError != ERROR_MORE_DATA && callError != ERROR_INSUFFICIENT_BUFFER) {
            error = callError;
            return false;
        }
        // needed may count all services or only those that did not fit: size + needed
        // holds them all either way.
        const DWORD grown = size + (needed > size ? needed : size);
        if (grown > kMaxEnumBufferSize || grown < size) {
            error = callError;
            return false;
        }
        size = grown;
    }
}

// Bytes of the configuration buffer from the dependency list on (0 when it lies outside).
std::size_t DependencyBytes(const ServiceConfig& config)
{
    const char* start = reinterpret_cast<const char*>(config.Get());
    const char* list = config.Get()->lpDependencies;
    if (list == nullptr || list < start || list >= start + config.Size())
        return 0;
    return static_cast<std::size_t>(start + config.Size() - list);
}

bool EmptyDependencyList(const ServiceConfig& config)
{
    return DependencyBytes(config) == 0 || config.Get()->lpDependencies[0] == '\0';
}

// Rights to read a service's dependencies: every service grants them, also the protected
// services that refuse full access even to administrators.
constexpr DWORD kScanRights = SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS;
// Rights to stop a dependent and wait for it, asked for only once it is known to be one.
constexpr DWORD kStopRights = SERVICE_STOP | SERVICE_QUERY_STATUS;

SC_HANDLE OpenDependent(SC_HANDLE manager, const std::string& name, const char* key, DWORD rights)
{
    SC_HANDLE service = OpenServiceWithRights(manager, name.c_str(), rights);
    if (service == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to open dependent Service '%s' (parent = '%s'), error = %d",
                   name.c_str(), key, static_cast<int>(GetLastError()));
    }
    return service;
}

struct Dependent {
    std::string name;
    std::string displayName;
    std::size_t matches;  // how often it lists the service
};

// The services among names that list key among their dependencies. Only a search that
// reports prints the services it cannot read.
std::vector<Dependent> FindDependents(SC_HANDLE manager, const char* key,
                                      const std::vector<std::string>& names, bool report)
{
    std::vector<Dependent> dependents;
    for (const std::string& name : names) {
        if (name == key)
            continue;
        SC_HANDLE service = report ? OpenDependent(manager, name, key, kScanRights)
                                   : OpenServiceWithRights(manager, name.c_str(), kScanRights);
        if (service == nullptr)
            continue;
        ServiceConfig config;
        if (!config.Query(service, kDependentConfigSize)) {
            if (report) {
                LogMessage(LOG_ERROR, "\r\nERROR: '%s' - QueryServiceConfig failed: error %d", name.c_str(),
                           static_cast<int>(GetLastError()));
            }
            CloseServiceHandle(service);
            continue;
        }
        std::size_t matches =
            servicedeps::CountDependencyMatches(config.Get()->lpDependencies, DependencyBytes(config), key);
        // A manager that reports no dependencies at all (Wine's never does) still keeps the
        // list in the service's registry key.
        if (matches == 0 && EmptyDependencyList(config)) {
            const std::string registered = ReadRegisteredDependencies(name.c_str());
            matches = servicedeps::CountDependencyMatches(registered.data(), registered.size(), key);
        }
        CloseServiceHandle(service);
        if (matches != 0)
            dependents.push_back({name, config.DisplayNameOr(name.c_str()), matches});
    }
    return dependents;
}

// The first service on the never-stop list that stopping these dependents would take down
// with them, at any depth; empty when there is none.
std::string ProtectedDependent(SC_HANDLE manager, const std::vector<Dependent>& dependents,
                               const std::vector<std::string>& names, int depth)
{
    for (const Dependent& dependent : dependents) {
        if (profile::IsNeverStopService(dependent.name.c_str()))
            return dependent.name;
    }
    if (depth >= kMaxDependentDepth)
        return std::string();
    for (const Dependent& dependent : dependents) {
        const std::string found = ProtectedDependent(
            manager, FindDependents(manager, dependent.name.c_str(), names, false), names, depth + 1);
        if (!found.empty())
            return found;
    }
    return std::string();
}

bool StopDependentsAmong(SC_HANDLE manager, const char* key, const std::vector<std::string>& names)
{
    const std::vector<Dependent> dependents = FindDependents(manager, key, names, true);
    const std::string needed = ProtectedDependent(manager, dependents, names, t_dependentDepth);
    if (!needed.empty()) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: '%s' is not stopped: that would also stop '%s', which is needed by Windows.",
                   key, needed.c_str());
        return false;
    }
    for (const Dependent& dependent : dependents) {
        SC_HANDLE service = OpenDependent(manager, dependent.name, key, kStopRights);
        if (service == nullptr)
            continue;
        for (std::size_t i = 0; i < dependent.matches; ++i) {
            LogMessage(LOG_PLAIN, "\r\nStopping dependent service %s...", dependent.displayName.c_str());
            StopDependentService(manager, service, dependent.name.c_str());
        }
        CloseServiceHandle(service);
    }
    return true;
}

// The services this run asked to stop as dependents of another.
class StoppedDependents {
public:
    StoppedDependents() { InitializeCriticalSection(&m_lock); }
    ~StoppedDependents() { DeleteCriticalSection(&m_lock); }
    void Add(const char* name)
    {
        EnterCriticalSection(&m_lock);
        m_names.emplace_back(name);
        LeaveCriticalSection(&m_lock);
    }
    void Remove(const char* name)
    {
        EnterCriticalSection(&m_lock);
        for (auto it = m_names.begin(); it != m_names.end(); ++it) {
            if (profile::SameName(it->c_str(), name)) {
                m_names.erase(it);
                break;
            }
        }
        LeaveCriticalSection(&m_lock);
    }
    bool Contains(const char* name)
    {
        EnterCriticalSection(&m_lock);
        bool found = false;
        for (const std::string& stopped : m_names)
            found = found || profile::SameName(stopped.c_str(), name);
        LeaveCriticalSection(&m_lock);
        return found;
    }

private:
    CRITICAL_SECTION m_lock;
    std::vector<std::string> m_names;
};

StoppedDependents g_stoppedDependents;

}  // namespace

bool StopDependentServices(SC_HANDLE manager, const char* key)
{
    HMODULE advapi = LoadLibraryA("advapi32.dll");
    if (advapi == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: unable to load advapi32.dll: code = %d",
                   static_cast<int>(GetLastError()));
        return true;
    }
    const auto enumerate = reinterpret_cast<EnumServicesStatusExAProc>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "EnumServicesStatusExA")));
    if (enumerate == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR:  unable to GetProcAddress for EnumServicesStatusEx : code %d",
                   static_cast<int>(GetLastError()));
        FreeLibrary(advapi);
        return true;
    }
    std::vector<std::string> names;
    DWORD error = ERROR_SUCCESS;
    bool stopping = true;
    if (ListWin32ServiceNames(manager, enumerate, names, error)) {
        stopping = StopDependentsAmong(manager, key, names);
    } else {
        LogMessage(LOG_ERROR, "\r\nERROR calling EnumServicesStatusEx: code %d", static_cast<int>(error));
    }
    FreeLibrary(advapi);
    return stopping;
}

bool WasStoppedAsDependent(const char* key) { return g_stoppedDependents.Contains(key); }

void StopDependentService(SC_HANDLE manager, SC_HANDLE service, const char* name)
{
    SERVICE_STATUS status;
    ZeroMemory(&status, sizeof status);
    // Noted before the request, so that its own phase 3 thread cannot miss it.
    g_stoppedDependents.Add(name);
    if (ControlService(service, SERVICE_CONTROL_STOP, &status))
        return;
    const DWORD error = GetLastError();
    if (error != ERROR_DEPENDENT_SERVICES_RUNNING && error != ERROR_SERVICE_CANNOT_ACCEPT_CTRL)
        g_stoppedDependents.Remove(name);
    switch (error) {
    case ERROR_DEPENDENT_SERVICES_RUNNING: {
        if (t_dependentDepth >= kMaxDependentDepth) {
            LogMessage(LOG_ERROR, "\r\nERROR: Unable to stop Service '%s', error = %d", name,
                       static_cast<int>(ERROR_CIRCULAR_DEPENDENCY));
            return;
        }
        LogMessage(LOG_HEADING, "\r\nOther services are dependent upon %s", name);
        ++t_dependentDepth;
        const bool stopping = StopDependentServices(manager, name);
        --t_dependentDepth;
        if (stopping)
            WaitWhileServicePending(service, SERVICE_STOP_PENDING, true, name);
        else
            g_stoppedDependents.Remove(name);
        return;
    }
    case ERROR_SERVICE_NOT_ACTIVE:
    case ERROR_SERVICE_CANNOT_ACCEPT_CTRL:
        WaitWhileServicePending(service, SERVICE_STOP_PENDING, true, name);
        return;
    default:
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to stop Service '%s', error = %d", name,
                   static_cast<int>(error));
        return;
    }
}

std::vector<std::string> RunningDependentNames(SC_HANDLE manager, const char* key)
{
    std::vector<std::string> dependents;
    HMODULE advapi = LoadLibraryA("advapi32.dll");
    const auto enumerate = advapi == nullptr
                               ? nullptr
                               : reinterpret_cast<EnumServicesStatusExAProc>(
                                   reinterpret_cast<void*>(GetProcAddress(advapi, "EnumServicesStatusExA")));
    std::vector<std::string> names;
    DWORD error = ERROR_SUCCESS;
    if (enumerate != nullptr && ListWin32ServiceNames(manager, enumerate, names, error)) {
        for (const std::string& name : names) {
            if (profile::SameName(name.c_str(), key))
                continue;
            SC_HANDLE service = OpenServiceA(manager, name.c_str(), kScanRights);
            if (service == nullptr)
                continue;
            ServiceConfig config;
            SERVICE_STATUS status;
            ZeroMemory(&status, sizeof status);
            if (config.Query(service, kDependentConfigSize) && QueryServiceStatus(service, &status)
                && status.dwCurrentState != SERVICE_STOPPED) {
                std::size_t matches = servicedeps::CountDependencyMatches(config.Get()->lpDependencies,
                                                                          DependencyBytes(config), key);
                if (matches == 0 && EmptyDependencyList(config)) {
                    const std::string registered = ReadRegisteredDependencies(name.c_str());
                    matches = servicedeps::CountDependencyMatches(registered.data(), registered.size(), key);
                }
                if (matches != 0)
                    dependents.emplace_back(config.DisplayNameOr(name.c_str()));
            }
            CloseServiceHandle(service);
        }
    }
    if (advapi != nullptr)
        FreeLibrary(advapi);
    return dependents;
}
