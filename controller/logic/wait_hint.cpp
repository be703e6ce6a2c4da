#include "controller/logic/wait_hint.h"

namespace servicewait {

std::uint32_t PollIntervalMs(std::uint32_t waitHint)
{
    const std::uint32_t tenth = waitHint / 10;
    if (tenth < kMinPollMs)
        return kMinPollMs;
    if (tenth > kMaxPollMs)
        return kMaxPollMs;
    return tenth;
}

ProgressTracker::ProgressTracker(std::uint32_t checkPoint, std::uint32_t now)
    : m_checkPoint(checkPoint), m_since(now), m_begun(now)
{}

bool ProgressTracker::KeepWaiting(std::uint32_t checkPoint, std::uint32_t waitHint, std::uint32_t now,
                                  WaitEnd& why)
{
    if (static_cast<std::uint32_t>(now - m_begun) > kMaxTotalWaitMs) {
        why = WaitEnd::TotalLimit;
        return false;
    }
    if (checkPoint > m_checkPoint) {
        m_checkPoint = checkPoint;
        m_since = now;
        return true;
    }
    if (static_cast<std::uint32_t>(now - m_since) > waitHint) {
        why = WaitEnd::HintExpired;
        return false;
    }
    return true;
}

}  // namespace servicewait
