#include "controller/service_threads.h"

#include <memory>

#include "controller/log_message.h"
#include "controller/run_journal.h"
#include "controller/service_config.h"
#include "controller/service_dependents.h"
#include "controller/service_open.h"
#include "controller/service_state.h"
#include "controller/service_status_wait.h"

namespace {

constexpr DWORD kConfigSize = 4096;
// Each step asks for the rights it needs, and no more: a user who may stop or start a
// service (without being an administrator) is granted these, never full access.
constexpr DWORD kStopRights = SERVICE_STOP | SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG;
constexpr DWORD kStartRights = SERVICE_START | SERVICE_QUERY_STATUS | SERVICE_QUERY_CONFIG;
constexpr int kMaxRestartDepth = 16;

// Opens a service; on failure prints the error and returns null.
SC_HANDLE OpenNamedService(SC_HANDLE manager, const char* key, DWORD rights)
{
    SC_HANDLE service = OpenServiceWithRights(manager, key, rights);
    if (service == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to open Service '%s', error = %d", key,
                   static_cast<int>(GetLastError()));
    }
    return service;
}

// Reacts to a refused stop request; true when the status wait follows.
bool HandleRefusedStop(const ServiceThreadBlock& block, SC_HANDLE service, const char* displayName,
                       DWORD error)
{
    switch (error) {
    case ERROR_DEPENDENT_SERVICES_RUNNING:
        LogMessage(LOG_PLAIN, "\r\nOther services are dependent upon %s", displayName);
        if (!StopDependentServices(block.manager, block.key, block.journal, block.listed))
            return false;
        // Its dependents have stopped: the manager takes the request now.
        error = RequestServiceStop(service);
        if (error == ERROR_SUCCESS || error == ERROR_SERVICE_NOT_ACTIVE)
            return true;
        break;
    case ERROR_SERVICE_NOT_ACTIVE:
        RecordServiceNotRunning(block.key);
        return true;
    case ERROR_INVALID_SERVICE_CONTROL:
        LogMessage(LOG_WARNING, "\r\nERROR: '%s' does not respond to STOP requests.  Skipping...",
                   displayName);
        return false;
    case ERROR_SERVICE_CANNOT_ACCEPT_CTRL:
        LogMessage(LOG_ERROR, "\r\nERROR: '%s' is not responding - it may be hung", displayName);
        return false;
    default:
        break;
    }
    LogMessage(LOG_ERROR, "\r\nERROR: Unable to stop Service '%s', error = %d", displayName,
               static_cast<int>(error));
    return false;
}

// Starts one service and waits for it, then what phase 3 stopped as its dependents.
DWORD StartNamedService(SC_HANDLE manager, const char* key, int depth)
{
    SC_HANDLE service = OpenNamedService(manager, key, kStartRights);
    if (service == nullptr)
        return 1;
    ServiceConfig config;
    config.Query(service, kConfigSize);
    const char* displayName = config.DisplayNameOr(key);
    LogMessage(LOG_PLAIN, "\r\nStarting '%s'...", displayName);

    DWORD result = 0;
    DWORD error = StartServiceA(service, 0, nullptr) ? ERROR_SUCCESS : GetLastError();
    SERVICE_STATUS status;
    if (error == ERROR_SERVICE_ALREADY_RUNNING && QueryServiceStatus(service, &status)
        && status.dwCurrentState == SERVICE_STOP_PENDING) {
        // Not running but still stopping (a stop sent just before the run was ended): it is
        // started once it has stopped.
        WaitWhileServicePending(service, SERVICE_STOP_PENDING, false, displayName);
        error = StartServiceA(service, 0, nullptr) ? ERROR_SUCCESS : GetLastError();
    }
    if (error == ERROR_SUCCESS || error == ERROR_SERVICE_ALREADY_RUNNING) {
        WaitWhileServicePending(service, SERVICE_START_PENDING, false, displayName);
    } else {
        result = 1;
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to start Service '%s', error = %d", displayName,
                   static_cast<int>(error));
    }
    CloseServiceHandle(service);
    if (result == 0 && depth < kMaxRestartDepth) {
        for (const std::string& dependent : DependentsToRestart(key))
            StartNamedService(manager, dependent.c_str(), depth + 1);
    }
    return result;
}

}  // namespace

DWORD WINAPI StopServiceThread(LPVOID parameter)
{
    std::unique_ptr<ServiceThreadBlock> block(static_cast<ServiceThreadBlock*>(parameter));
    SC_HANDLE service = OpenNamedService(block->manager, block->key, kStopRights);
    if (service == nullptr)
        return 0;

    // Without a readable configuration the messages name the service by its key.
    ServiceConfig config;
    config.Query(service, kConfigSize);
    const char* displayName = config.DisplayNameOr(block->key);
    LogMessage(LOG_PLAIN, "\r\nStopping '%s'...", displayName);

    bool wait = true;
    // In the journal before the request, so that a crash right after it still restarts it.
    if (block->journal && !JournalAddService(block->key)) {
        CloseServiceHandle(service);  // the run is being ended: nothing more is stopped
        return 0;
    }
    const DWORD error = RequestServiceStop(service);
    if (error != ERROR_SUCCESS) {
        // Taken down (or on its way down) as a dependent of an earlier stop: stopped by this
        // run all the same, so it stays in the journal and is restarted.
        const bool stoppedAsDependent =
            (error == ERROR_SERVICE_NOT_ACTIVE || error == ERROR_SERVICE_CANNOT_ACCEPT_CTRL)
            && WasStoppedAsDependent(block->key);
        if (!stoppedAsDependent) {
            if (block->journal && error == ERROR_SERVICE_NOT_ACTIVE)
                JournalRemoveService(block->key);
            wait = HandleRefusedStop(*block, service, displayName, error);
        }
    }
    if (wait)
        WaitWhileServicePending(service, SERVICE_STOP_PENDING, false, displayName);
    CloseServiceHandle(service);
    if (block->journal)
        JournalStopOver();
    return 0;
}

DWORD WINAPI StartServiceThread(LPVOID parameter)
{
    std::unique_ptr<ServiceThreadBlock> block(static_cast<ServiceThreadBlock*>(parameter));
    return StartNamedService(block->manager, block->key, 0);
}
