#include "controller/service_dependents.h"

#include "controller/log_message.h"
#include "controller/logic/service_dependencies.h"
#include "controller/run_journal.h"
#include "controller/service_config.h"
#include "controller/service_open.h"
#include "controller/service_registry_dependencies.h"
#include "controller/service_status_wait.h"
#include "profile/name_compare.h"
#include "profile/never_stop.h"
#include "runtime/entry_point.h"

namespace {

using EnumServicesStatusExAProc = BOOL(WINAPI*)(SC_HANDLE, SC_ENUM_TYPE, DWORD, DWORD, LPBYTE, DWORD, LPDWORD,
                                                LPDWORD, LPDWORD, LPCSTR);
using EnumDependentServicesAProc = BOOL(WINAPI*)(SC_HANDLE, DWORD, LPENUM_SERVICE_STATUSA, DWORD, LPDWORD,
                                                 LPDWORD);

constexpr DWORD kFirstEnumBufferSize = 30720;
constexpr DWORD kMaxEnumBufferSize = 64u * 1024u * 1024u;
constexpr DWORD kDependentConfigSize = 8192;
// Dependency chains are short; a deeper one can only come from a circular configuration,
// which would otherwise recurse until the stack is gone.
constexpr int kMaxDependentDepth = 16;
thread_local int t_dependentDepth = 0;

// Rights to read a service's dependencies: every service grants them, also the protected
// services that refuse full access even to administrators.
constexpr DWORD kScanRights = SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS;
// Rights to stop a dependent and wait for it, asked for only once it is known to be one.
constexpr DWORD kStopRights = SERVICE_STOP | SERVICE_QUERY_STATUS;

HMODULE Advapi() { return GetModuleHandleA("advapi32.dll"); }

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

// The manager's own answer: every active dependent at any depth, in the order to stop
// them. The list is at most 64,000 bytes; a second round covers one that grew meanwhile.
void EnumerateDependents(SC_HANDLE manager, const char* key, std::vector<DependentService>& found)
{
    const auto enumerate = LookUp<EnumDependentServicesAProc>(Advapi(), "EnumDependentServicesA");
    SC_HANDLE service = OpenServiceWithRights(manager, key, SERVICE_ENUMERATE_DEPENDENTS);
    if (enumerate == nullptr || service == nullptr) {
        if (service != nullptr)
            CloseServiceHandle(service);
        return;
    }
    DWORD size = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        BYTE* buffer = size == 0 ? nullptr : static_cast<BYTE*>(LocalAlloc(LPTR, size));
        if (size != 0 && buffer == nullptr)
            break;
        DWORD needed = 0, returned = 0;
        const BOOL done = enumerate(service, SERVICE_ACTIVE, reinterpret_cast<LPENUM_SERVICE_STATUSA>(buffer),
                                    size, &needed, &returned);
        const DWORD error = done ? ERROR_SUCCESS : GetLastError();
        const ENUM_SERVICE_STATUSA* entries = reinterpret_cast<const ENUM_SERVICE_STATUSA*>(buffer);
        for (DWORD i = 0; done && buffer != nullptr && i < returned; ++i) {
            if (entries[i].lpServiceName != nullptr) {
                const char* display = entries[i].lpDisplayName;
                found.push_back({entries[i].lpServiceName, display != nullptr && display[0] != '\0'
                                                               ? display
                                                               : entries[i].lpServiceName});
            }
        }
        LocalFree(buffer);
        if (done || error != ERROR_MORE_DATA || needed <= size || needed > kMaxEnumBufferSize)
            break;
        size = needed;
    }
    CloseServiceHandle(service);
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

bool Listed(const std::vector<DependentService>& found, const std::string& name)
{
    for (const DependentService& service : found) {
        if (profile::SameName(service.name.c_str(), name.c_str()))
            return true;
    }
    return false;
}

// Where the manager reports no dependents: the active services among names whose
// dependency list holds key, each after its own dependents (depth first).
void RegisteredDependents(SC_HANDLE manager, const char* key, const std::vector<std::string>& names,
                          std::vector<DependentService>& found, int depth)
{
    for (const std::string& name : names) {
        if (profile::SameName(name.c_str(), key) || Listed(found, name))
            continue;
        SC_HANDLE service = OpenServiceWithRights(manager, name.c_str(), kScanRights);
        if (service == nullptr)
            continue;
        ServiceConfig config;
        SERVICE_STATUS status;
        ZeroMemory(&status, sizeof status);
        bool dependent = false;
        if (config.Query(service, kDependentConfigSize) && QueryServiceStatus(service, &status)
            && status.dwCurrentState != SERVICE_STOPPED) {
            const std::size_t bytes = DependencyBytes(config);
            dependent = servicedeps::CountDependencyMatches(config.Get()->lpDependencies, bytes, key) != 0;
            // A manager that reports no dependencies at all (Wine's never does) still keeps
            // the list in the service's registry key.
            if (!dependent && (bytes == 0 || config.Get()->lpDependencies[0] == '\0')) {
                const std::string registered = ReadRegisteredDependencies(name.c_str());
                dependent =
                    servicedeps::CountDependencyMatches(registered.data(), registered.size(), key) != 0;
            }
        }
        const std::string displayName = config.DisplayNameOr(name.c_str());
        CloseServiceHandle(service);
        if (!dependent)
            continue;
        if (depth < kMaxDependentDepth)
            RegisteredDependents(manager, name.c_str(), names, found, depth + 1);
        if (!Listed(found, name))
            found.push_back({name, displayName});
    }
}

// A service this run stopped as a dependent of parent; restart: it is started again after it.
struct StoppedDependent {
    std::string name;
    std::string parent;
    bool restart;
};

class StoppedDependents {
public:
    StoppedDependents() { InitializeCriticalSection(&m_lock); }
    ~StoppedDependents() { DeleteCriticalSection(&m_lock); }
    void Add(const StoppedDependent& stopped)
    {
        EnterCriticalSection(&m_lock);
        m_stopped.push_back(stopped);
        LeaveCriticalSection(&m_lock);
    }
    void Remove(const char* name, const char* parent)
    {
        EnterCriticalSection(&m_lock);
        for (auto it = m_stopped.begin(); it != m_stopped.end(); ++it) {
            if (profile::SameName(it->name.c_str(), name) && profile::SameName(it->parent.c_str(), parent)) {
                m_stopped.erase(it);
                break;
            }
        }
        LeaveCriticalSection(&m_lock);
    }
    bool Contains(const char* name)
    {
        EnterCriticalSection(&m_lock);
        bool found = false;
        for (const StoppedDependent& stopped : m_stopped)
            found = found || profile::SameName(stopped.name.c_str(), name);
        LeaveCriticalSection(&m_lock);
        return found;
    }
    // Those of parent to restart, last stopped first.
    std::vector<std::string> ToRestart(const char* parent)
    {
        std::vector<std::string> names;
        EnterCriticalSection(&m_lock);
        for (auto it = m_stopped.rbegin(); it != m_stopped.rend(); ++it) {
            if (it->restart && profile::SameName(it->parent.c_str(), parent))
                names.push_back(it->name);
        }
        LeaveCriticalSection(&m_lock);
        return names;
    }

private:
    CRITICAL_SECTION m_lock;
    std::vector<StoppedDependent> m_stopped;
};

StoppedDependents g_stoppedDependents;

// Stops one dependent and waits until it has stopped (or its wait hint passes without progress).
void StopDependent(SC_HANDLE manager, const DependentService& dependent, const char* parent, bool restart,
                   const std::vector<std::string>* listed)
{
    const char* name = dependent.name.c_str();
    SC_HANDLE service = OpenServiceWithRights(manager, name, kStopRights);
    if (service == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to open dependent Service '%s' (parent = '%s'), error = %d",
                   name, parent, static_cast<int>(GetLastError()));
        return;
    }
    LogMessage(LOG_PLAIN, "\r\nStopping dependent service %s...", dependent.displayName.c_str());
    // Noted (and journaled) before the request, so that neither its own phase 3 thread nor
    // a crash right after it can miss it. An entry of its own decides about its restart.
    const bool restarts = restart && !HasOwnEntry(listed, name);
    if (restarts && !JournalAddService(name)) {
        CloseServiceHandle(service);  // the run is being ended: nothing more is stopped
        return;
    }
    g_stoppedDependents.Add({name, parent, restarts});
    DWORD error = RequestServiceStop(service);
    if (error == ERROR_DEPENDENT_SERVICES_RUNNING && t_dependentDepth < kMaxDependentDepth) {
        // Dependents of its own that the search did not see (or that started meanwhile).
        ++t_dependentDepth;
        if (StopDependentServices(manager, name, restart, listed))
            error = RequestServiceStop(service);
        --t_dependentDepth;
    }
    if (error == ERROR_SUCCESS || error == ERROR_SERVICE_CANNOT_ACCEPT_CTRL) {
        // Already on its way down when the request was refused: waited for with dots.
        WaitWhileServicePending(service, SERVICE_STOP_PENDING, error != ERROR_SUCCESS, name);
    } else if (error != ERROR_SERVICE_NOT_ACTIVE) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to stop Service '%s', error = %d", name,
                   static_cast<int>(error));
        g_stoppedDependents.Remove(name, parent);
        if (restarts)
            JournalRemoveService(name);
    }
    CloseServiceHandle(service);
    if (restarts)
        JournalStopOver();
}

}  // namespace

std::vector<DependentService> ActiveDependents(SC_HANDLE manager, const char* key)
{
    std::vector<DependentService> found;
    EnumerateDependents(manager, key, found);
    if (!found.empty())
        return found;
    // Windows NT 4.0 has no EnumServicesStatusExA, but its manager answers above.
    const auto enumerate = LookUp<EnumServicesStatusExAProc>(Advapi(), "EnumServicesStatusExA");
    std::vector<std::string> names;
    DWORD error = ERROR_SUCCESS;
    if (enumerate != nullptr && ListWin32ServiceNames(manager, enumerate, names, error))
        RegisteredDependents(manager, key, names, found, 0);
    else if (enumerate != nullptr)
        LogMessage(LOG_ERROR, "\r\nERROR calling EnumServicesStatusEx: code %d", static_cast<int>(error));
    return found;
}

bool HasOwnEntry(const std::vector<std::string>* keys, const char* name)
{
    if (keys == nullptr)
        return false;
    for (const std::string& key : *keys) {
        if (profile::SameName(key.c_str(), name))
            return true;
    }
    return false;
}

bool StopDependentServices(SC_HANDLE manager, const char* key, bool restart,
                           const std::vector<std::string>* listed)
{
    const std::vector<DependentService> dependents = ActiveDependents(manager, key);
    for (const DependentService& dependent : dependents) {
        if (profile::IsNeverStopService(dependent.name.c_str())) {
            LogMessage(
                LOG_WARNING,
                "\r\nWARNING: '%s' is not stopped: that would also stop '%s', which is needed by Windows.",
                key, dependent.name.c_str());
            return false;
        }
    }
    for (const DependentService& dependent : dependents)
        StopDependent(manager, dependent, key, restart, listed);
    return true;
}

bool WasStoppedAsDependent(const char* key) { return g_stoppedDependents.Contains(key); }

std::vector<std::string> DependentsToRestart(const char* key) { return g_stoppedDependents.ToRestart(key); }
