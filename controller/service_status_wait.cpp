#include "controller/service_status_wait.h"

#include <cstdint>

#include "controller/log_message.h"
#include "controller/logic/wait_hint.h"

void WaitWhileServicePending(SC_HANDLE service, DWORD pendingState, bool printDots, const char* name)
{
    DWORD queryError = ERROR_SUCCESS;
    const servicewait::WaitEnd end = servicewait::WaitWhilePending(
        pendingState,
        [&](servicewait::ServiceProgress& progress) {
            SERVICE_STATUS status;
            ZeroMemory(&status, sizeof status);
            if (!QueryServiceStatus(service, &status)) {
                queryError = GetLastError();
                return false;
            }
            progress.state = status.dwCurrentState;
            progress.checkPoint = status.dwCheckPoint;
            progress.waitHint = status.dwWaitHint;
            return true;
        },
        [](std::uint32_t ms) { Sleep(ms); }, [] { return static_cast<std::uint32_t>(GetTickCount()); },
        [printDots] {
            if (printDots)
                LogMessage(LOG_PLAIN, ".");
        });
    if (end == servicewait::WaitEnd::QueryFailed) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to query the status of Service '%s', error = %d", name,
                   static_cast<int>(queryError));
    }
}
