// How long the controller waits for a service that reports a pending state (stop or
// start pending): the polling interval comes from the service's wait hint, and the
// wait ends when the hint has passed without checkpoint progress. No Windows types,
// so the rule is exercised natively by the unit tests.
#pragma once

#include <cstdint>

namespace servicewait {

constexpr std::uint32_t kMinPollMs = 1000;
constexpr std::uint32_t kMaxPollMs = 10000;
// Upper bound of one whole wait, progress or not: a service that keeps raising its
// checkpoint forever, or reports an absurd wait hint, must not hold a phase for ever.
constexpr std::uint32_t kMaxTotalWaitMs = 10u * 60u * 1000u;

// The pause before the next status query: a tenth of the wait hint, at least one and at
// most ten seconds.
std::uint32_t PollIntervalMs(std::uint32_t waitHint);

// One status as the service reported it.
struct ServiceProgress {
    std::uint32_t state;
    std::uint32_t checkPoint;
    std::uint32_t waitHint;
};

enum class WaitEnd {
    LeftPendingState,  // the service reached another state
    HintExpired,       // no checkpoint progress within the wait hint
    TotalLimit,        // kMaxTotalWaitMs passed since the wait began
    QueryFailed,       // the status could not be read
};

// Tracks checkpoint progress over time. Times are millisecond tick counts that may
// wrap around (differences are taken modulo 2^32).
class ProgressTracker {
public:
    ProgressTracker(std::uint32_t checkPoint, std::uint32_t now);
    // After a poll: whether to go on waiting (state is not looked at here).
    // A checkpoint above the noted one restarts the hint's clock.
    bool KeepWaiting(std::uint32_t checkPoint, std::uint32_t waitHint, std::uint32_t now, WaitEnd& why);

private:
    std::uint32_t m_checkPoint;
    std::uint32_t m_since;  // time of the last progress (or of the first query)
    std::uint32_t m_begun;  // time of the first query
};

// The whole wait. query(ServiceProgress&) returns false when the status cannot be read;
// sleep(ms) pauses; now() gives the tick count. afterSleep() runs after every pause.
template <typename Query, typename Sleep, typename Now, typename AfterSleep>
WaitEnd WaitWhilePending(std::uint32_t pendingState, Query&& query, Sleep&& sleep, Now&& now,
                         AfterSleep&& afterSleep)
{
    ServiceProgress status{};
    if (!query(status))
        return WaitEnd::QueryFailed;
    ProgressTracker tracker(status.checkPoint, now());
    while (status.state == pendingState) {
        sleep(PollIntervalMs(status.waitHint));
        afterSleep();
        if (!query(status))
            return WaitEnd::QueryFailed;
        if (status.state != pendingState)
            break;
        WaitEnd why = WaitEnd::LeftPendingState;
        if (!tracker.KeepWaiting(status.checkPoint, status.waitHint, now(), why))
            return why;
    }
    return WaitEnd::LeftPendingState;
}

}  // namespace servicewait
