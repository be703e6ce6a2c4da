// Phases 3 and 8: stopping and restarting the services of [Services].
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "controller/log_message.h"
#include "controller/phases.h"
#include "controller/profile_reader.h"
#include "controller/run_state.h"
#include "controller/service_state.h"
#include "controller/service_threads.h"
#include "controller/thread_batch.h"
#include "profile/entry_values.h"
#include "profile/never_stop.h"
#include "profile/profile_keys.h"
#include "runtime/format_text.h"

namespace {

bool SkippedInStartMode(const char* key, const char* value)
{
    if (!profile::ServiceRestarts(value))
        return true;  // "Stop" (and "No Action")
    EnterCriticalSection(&g_outputLock);
    const bool wasNotRunning = g_notRunningServices.Contains(key);
    LeaveCriticalSection(&g_outputLock);
    return wasNotRunning;
}

void StartEntryThread(SC_HANDLE manager, const char* key, ServicesMode mode, bool journal,
                      const std::vector<std::string>& listed, ThreadBatch& batch)
{
    ServiceThreadBlock* block = new (std::nothrow) ServiceThreadBlock;
    if (block == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to create a thread for Service '%s', error = %d", key,
                   static_cast<int>(ERROR_NOT_ENOUGH_MEMORY));
        return;
    }
    block->manager = manager;
    block->journal = journal;
    block->listed = &listed;
    FormatText(block->key, sizeof block->key, "%s", key);
    LPTHREAD_START_ROUTINE routine = mode == ServicesMode::Stop ? StopServiceThread : StartServiceThread;
    if (!batch.Start(routine, block, key))
        delete block;
}

// The Service Control Manager is opened when the first entry needs it: a profile with
// nothing to stop or start does not pay for the connection.
class ManagerConnection {
public:
    // Connecting is all a start needs; a stop also lists the services (the dependents
    // search where the manager does not name them). Full access is for administrators
    // only, and a run without it may still stop and start the services that allow it.
    explicit ManagerConnection(ServicesMode mode)
        : m_rights(mode == ServicesMode::Stop ? SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE
                                              : SC_MANAGER_CONNECT)
    {}
    ~ManagerConnection()
    {
        if (m_manager != nullptr)
            CloseServiceHandle(m_manager);
    }
    // The open manager, or null after a failure (reported once; the phase then does
    // nothing else).
    SC_HANDLE Get()
    {
        if (m_manager == nullptr && !m_failed) {
            m_manager = OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, m_rights);
            if (m_manager == nullptr) {
                m_failed = true;
                LogMessage(LOG_ERROR, "\r\nERROR: Unable to open Service Control Manager, error = %d",
                           static_cast<int>(GetLastError()));
            }
        }
        return m_manager;
    }

private:
    DWORD m_rights;
    SC_HANDLE m_manager = nullptr;
    bool m_failed = false;
};

}  // namespace

std::vector<std::string> ListedServiceKeys()
{
    std::vector<std::string> keys;
    WalkProfileSection(profile::kServices, profile::kActionNoAction, [&](const char* key, const char* value) {
        if (!profile::ServiceIsNoAction(value))
            keys.emplace_back(key);
    });
    return keys;
}

void HandleServicesSection(ServicesMode mode)
{
    const std::vector<std::string> listed = ListedServiceKeys();
    ManagerConnection manager(mode);
    ThreadBatch batch;  // declared after the manager: its threads end before it closes
    WalkProfileSection(profile::kServices, profile::kActionNoAction, [&](const char* key, const char* value) {
        if (profile::ServiceIsNoAction(value))
            return;
        if (profile::IsNeverStopService(key)) {
            // Not stopped, so there is nothing to start again either.
            if (mode == ServicesMode::Stop) {
                LogMessage(LOG_WARNING, "\r\nWARNING: '%s' is needed by Windows and is never stopped.", key);
            }
            return;
        }
        if (mode == ServicesMode::Start && SkippedInStartMode(key, value))
            return;
        SC_HANDLE handle = manager.Get();
        if (handle == nullptr)
            return;
        StartEntryThread(handle, key, mode, mode == ServicesMode::Stop && profile::ServiceRestarts(value),
                         listed, batch);
    });
    batch.WaitForAll();
}
