#include "controller/service_threads.h"

#include <memory>

#include "controller/log_message.h"
#include "controller/run_journal.h"
#include "controller/service_config.h"
#include "controller/service_dependents.h"
#include "controller/service_state.h"
#include "controller/service_status_wait.h"

namespace {

constexpr DWORD kConfigSize = 4096;
constexpr DWORD kServiceRights = GENERIC_READ | GENERIC_EXECUTE | SERVICE_QUERY_CONFIG;

// Opens the block's service; on failure prints the error and returns null.
SC_HANDLE OpenBlockService(const ServiceThreadBlock& block)
{
    SC_HANDLE service = OpenServiceA(block.manager, block.key, kServiceRights);
    if (service == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to open Service '%s', error = %d", block.key,
                   static_cast<int>(GetLastError()));
    }
    return service;
}

// Reacts to a refused stop request; true when the status wait follows.
bool HandleRefusedStop(const ServiceThreadBlock& block, const char* displayName, DWORD error)
{
    switch (error) {
    case ERROR_DEPENDENT_SERVICES_RUNNING:
        LogMessage(LOG_PLAIN, "\r\nOther services are dependent upon %s", displayName);
        return StopDependentServices(block.manager, block.key);
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
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to stop Service '%s', error = %d", displayName,
                   static_cast<int>(error));
        return false;
    }
}

}  // namespace

DWORD WINAPI StopServiceThread(LPVOID parameter)
{
    std::unique_ptr<ServiceThreadBlock> block(static_cast<ServiceThreadBlock*>(parameter));
    SC_HANDLE service = OpenBlockService(*block);
    if (service == nullptr)
        return 0;

    // Without a readable configuration the messages name the service by its key.
    ServiceConfig config;
    config.Query(service, kConfigSize);
    const char* displayName = config.DisplayNameOr(block->key);
    LogMessage(LOG_PLAIN, "\r\nStopping '%s'...", displayName);

    SERVICE_STATUS status;
    ZeroMemory(&status, sizeof status);
    bool wait = true;
    // In the journal before the request, so that a crash right after it still restarts it.
    if (block->journal && !JournalAddService(block->key)) {
        CloseServiceHandle(service);  // the console is closing: nothing more is stopped
        return 0;
    }
    if (!ControlService(service, SERVICE_CONTROL_STOP, &status)) {
        const DWORD error = GetLastError();
        // Taken down (or on its way down) as a dependent of an earlier stop: stopped by this
        // run all the same, so it stays in the journal and is restarted.
        const bool stoppedAsDependent =
            (error == ERROR_SERVICE_NOT_ACTIVE || error == ERROR_SERVICE_CANNOT_ACCEPT_CTRL)
            && WasStoppedAsDependent(block->key);
        if (!stoppedAsDependent) {
            if (block->journal && error == ERROR_SERVICE_NOT_ACTIVE)
                JournalRemoveService(block->key);
            wait = HandleRefusedStop(*block, displayName, error);
        }
    }
    if (wait)
        WaitWhileServicePending(service, SERVICE_STOP_PENDING, false, displayName);
    CloseServiceHandle(service);
    return 0;
}

DWORD WINAPI StartServiceThread(LPVOID parameter)
{
    std::unique_ptr<ServiceThreadBlock> block(static_cast<ServiceThreadBlock*>(parameter));
    SC_HANDLE service = OpenBlockService(*block);
    if (service == nullptr)
        return 1;

    ServiceConfig config;
    config.Query(service, kConfigSize);
    const char* displayName = config.DisplayNameOr(block->key);
    LogMessage(LOG_PLAIN, "\r\nStarting '%s'...", displayName);

    DWORD result = 0;
    if (StartServiceA(service, 0, nullptr) || GetLastError() == ERROR_SERVICE_ALREADY_RUNNING) {
        WaitWhileServicePending(service, SERVICE_START_PENDING, false, displayName);
    } else {
        result = 1;
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to start Service '%s', error = %d", displayName,
                   static_cast<int>(GetLastError()));
    }
    CloseServiceHandle(service);
    return result;
}
