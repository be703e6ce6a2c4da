#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "controller/logic/service_dependencies.h"
#include "controller/logic/wait_hint.h"

using servicewait::ServiceProgress;
using servicewait::WaitEnd;

namespace {

constexpr std::uint32_t kStopPending = 3;
constexpr std::uint32_t kStopped = 1;

// A service seen through a fake clock: status(t) gives what a query at time t returns.
struct SimulatedWait {
    std::uint32_t clock = 0;
    std::vector<std::uint32_t> pollTimes;  // times of the queries after the first
    int sleepsSeen = 0;
    WaitEnd end = WaitEnd::LeftPendingState;

    void Run(std::function<ServiceProgress(std::uint32_t)> status, std::uint32_t startClock = 0)
    {
        clock = startClock;
        bool first = true;
        end = servicewait::WaitWhilePending(
            kStopPending,
            [&](ServiceProgress& out) {
                if (!first)
                    pollTimes.push_back(clock - startClock);
                first = false;
                out = status(clock - startClock);
                return true;
            },
            [&](std::uint32_t ms) { clock += ms; }, [&] { return clock; }, [&] { ++sleepsSeen; });
    }
};

ServiceProgress Pending(std::uint32_t checkPoint, std::uint32_t hint)
{
    return {kStopPending, checkPoint, hint};
}

std::vector<std::uint32_t> Every(std::uint32_t step, std::uint32_t last)
{
    std::vector<std::uint32_t> times;
    for (std::uint32_t t = step; t <= last; t += step)
        times.push_back(t);
    return times;
}

}  // namespace

TEST(WaitHint, PollIntervalIsATenthBetweenOneAndTenSeconds)
{
    EXPECT_EQ(servicewait::PollIntervalMs(0), 1000u);
    EXPECT_EQ(servicewait::PollIntervalMs(9999), 1000u);
    EXPECT_EQ(servicewait::PollIntervalMs(15000), 1500u);
    EXPECT_EQ(servicewait::PollIntervalMs(30000), 3000u);
    EXPECT_EQ(servicewait::PollIntervalMs(100000), 10000u);
    EXPECT_EQ(servicewait::PollIntervalMs(200000), 10000u);
    EXPECT_EQ(servicewait::PollIntervalMs(UINT32_MAX), 10000u);
}

TEST(WaitHint, HintZeroPollsOnceAfterOneSecond)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t) { return Pending(0, 0); });
    EXPECT_EQ(wait.pollTimes, std::vector<std::uint32_t>({1000}));
    EXPECT_EQ(wait.end, WaitEnd::HintExpired);
    EXPECT_EQ(wait.sleepsSeen, 1);
}

TEST(WaitHint, HintThirtySecondsPollsEveryThreeSecondsUntilThePassedHint)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t) { return Pending(1, 30000); });
    // 30000 ms is not yet "more than" the hint; the poll at 33000 is.
    EXPECT_EQ(wait.pollTimes, Every(3000, 33000));
    EXPECT_EQ(wait.end, WaitEnd::HintExpired);
}

TEST(WaitHint, HintTwoHundredSecondsPollsEveryTenSeconds)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t) { return Pending(1, 200000); });
    EXPECT_EQ(wait.pollTimes, Every(10000, 210000));
    EXPECT_EQ(wait.end, WaitEnd::HintExpired);
}

TEST(WaitHint, ReachingAnotherStateEndsTheWaitAtThatPoll)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t t) { return t < 6000 ? Pending(1, 30000) : ServiceProgress{kStopped, 0, 0}; });
    EXPECT_EQ(wait.pollTimes, std::vector<std::uint32_t>({3000, 6000}));
    EXPECT_EQ(wait.end, WaitEnd::LeftPendingState);
}

TEST(WaitHint, NoWaitWhenTheFirstStatusIsNotPending)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t) { return ServiceProgress{4, 0, 5000}; });
    EXPECT_TRUE(wait.pollTimes.empty());
    EXPECT_EQ(wait.sleepsSeen, 0);
    EXPECT_EQ(wait.end, WaitEnd::LeftPendingState);
}

TEST(WaitHint, CheckpointProgressRestartsTheHintClock)
{
    // Hint 2000 (polls every second); the checkpoint grows at 1 s, 2 s and 3 s, then stalls.
    SimulatedWait wait;
    wait.Run([](std::uint32_t t) { return Pending(t <= 3000 ? t / 1000 : 3, 2000); });
    // Last progress seen at 3000; the wait ends at the first poll more than 2000 ms later.
    EXPECT_EQ(wait.pollTimes, Every(1000, 6000));
    EXPECT_EQ(wait.end, WaitEnd::HintExpired);
}

TEST(WaitHint, AFallingCheckpointIsNoProgress)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t t) { return Pending(t == 0 ? 5 : 2, 1500); });
    EXPECT_EQ(wait.pollTimes, Every(1000, 2000));
    EXPECT_EQ(wait.end, WaitEnd::HintExpired);
}

TEST(WaitHint, TheHintOfTheLatestStatusCounts)
{
    // First status says 0 ms, later ones 5000 ms: the wait goes on past the first poll.
    SimulatedWait wait;
    wait.Run([](std::uint32_t t) { return Pending(1, t == 0 ? 0 : 5000); });
    EXPECT_EQ(wait.pollTimes, Every(1000, 6000));
}

TEST(WaitHint, EndlessProgressStopsAtTheTotalLimit)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t t) { return Pending(t / 1000 + 1, 3000); });
    ASSERT_FALSE(wait.pollTimes.empty());
    EXPECT_EQ(wait.end, WaitEnd::TotalLimit);
    // Ten minutes: polls every second up to and including 600 s, the next one ends the wait.
    EXPECT_EQ(wait.pollTimes, Every(1000, 601000));
}

TEST(WaitHint, AHugeHintWithoutProgressStopsAtTheTotalLimit)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t) { return Pending(1, UINT32_MAX); });
    EXPECT_EQ(wait.end, WaitEnd::TotalLimit);
    // Polls every ten seconds (the longest interval); the first one after ten minutes ends it.
    EXPECT_EQ(wait.pollTimes, Every(10000, 610000));
}

TEST(WaitHint, TickCountWrapAroundDoesNotEndTheWaitEarly)
{
    SimulatedWait wait;
    wait.Run([](std::uint32_t) { return Pending(1, 30000); }, UINT32_MAX - 1500);
    EXPECT_EQ(wait.pollTimes, Every(3000, 33000));
    EXPECT_EQ(wait.end, WaitEnd::HintExpired);
}

TEST(WaitHint, AFailedQueryEndsTheWait)
{
    int queries = 0;
    const WaitEnd end = servicewait::WaitWhilePending(
        kStopPending,
        [&](ServiceProgress& out) {
            out = Pending(1, 30000);
            return ++queries < 3;
        },
        [](std::uint32_t) {}, [] { return 0u; }, [] {});
    EXPECT_EQ(end, WaitEnd::QueryFailed);
    EXPECT_EQ(queries, 3);
}

TEST(ServiceDependencies, CountsWholeNamesWithoutRegardToCase)
{
    const char list[] = "Alpha\0Beta\0+Beta\0beta\0Beta\0";  // ends with the double NUL
    EXPECT_EQ(servicedeps::CountDependencyMatches(list, sizeof list, "BETA"), 3u);
    EXPECT_EQ(servicedeps::CountDependencyMatches(list, sizeof list, "Alpha"), 1u);
    EXPECT_EQ(servicedeps::CountDependencyMatches(list, sizeof list, "Alph"), 0u);
    EXPECT_EQ(servicedeps::CountDependencyMatches(list, sizeof list, "Group"), 0u);
    EXPECT_EQ(servicedeps::CountDependencyMatches(nullptr, 100, "Beta"), 0u);
    EXPECT_EQ(servicedeps::CountDependencyMatches("\0", 2, "Beta"), 0u);
}

TEST(ServiceDependencies, StopsAtTheBufferEndWithoutTerminator)
{
    const char list[] = {'A', 'l', 'p', 'h', 'a', '\0', 'B', 'e', 't', 'a'};  // no final NULs
    EXPECT_EQ(servicedeps::CountDependencyMatches(list, sizeof list, "Alpha"), 1u);
    EXPECT_EQ(servicedeps::CountDependencyMatches(list, sizeof list, "Beta"), 0u);  // cut name: no match
}
