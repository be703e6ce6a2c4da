// Phases 3 and 8 against Wine's Service Control Manager, with fixture services installed
// under names of this test process only: zephrun.exe runs a profile, its whole console
// transcript is compared, and the services' states are read back afterwards.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/console_capture.h"
#include "support/test_services.h"
#include "support/wine_harness.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

std::string Stopping(const zt::FixtureService& service)
{
    return "\r\nStopping '" + service.DisplayName() + "'...";
}
std::string Starting(const zt::FixtureService& service)
{
    return "\r\nStarting '" + service.DisplayName() + "'...";
}
std::string UnableToOpen(const std::string& key)
{
    return "\r\nERROR: Unable to open Service '" + key + "', error = 1060";
}

class ServicePhases : public ::testing::Test {
protected:
    // Runs zephrun.exe on a profile with these [Services] entries; returns the transcript
    // with the memory figures normalised.
    std::string Run(const Entries& entries, const std::string& controllerPath = std::string())
    {
        zt::WriteFileBytes(ProfilePath(), zt::ServicesProfile(entries));
        zt::RunOptions options;
        options.workDir = m_folder.Path();
        options.controllerPath = controllerPath;
        options.timeoutMs = 120000;
        const zt::RunResult result = zt::RunController({ProfilePath()}, options);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0u);
        return zt::NormalizeMemoryFigures(result.output);
    }
    std::string Expected(const std::vector<std::string>& phase3, const std::vector<std::string>& phase8)
    {
        return zt::Transcript(zt::ServiceRunMessages(ProfilePath(), phase3, phase8));
    }
    std::string ProfilePath() const { return m_folder.File("services.ini"); }
    const zt::TempFolder& Folder() const { return m_folder; }

private:
    zt::TempFolder m_folder;
};

TEST_F(ServicePhases, StopServiceIsStoppedAndStaysStopped)
{
    zt::FixtureService service("zeph_stop", "prompt");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Run({{service.Name(), "Stop"}}), Expected({Stopping(service)}, {}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(ServicePhases, StopAndRestartServiceRunsAgainAfterPhase8)
{
    zt::FixtureService service("zeph_restart", "prompt");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Run({{service.Name(), "Stop & Restart"}}), Expected({Stopping(service)}, {Starting(service)}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServicePhases, AlreadyStoppedServiceIsRecordedAndNotStarted)
{
    zt::FixtureService service("zeph_idle", "prompt");
    ASSERT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(Run({{service.Name(), "Stop & Restart"}}), Expected({Stopping(service)}, {}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(ServicePhases, NotRunningRecordIgnoresLetterCaseOfTheKey)
{
    // Phase 3 records the key as written; phase 8 compares without regard to case, and
    // the same key read again in another case is the same entry of the section.
    zt::FixtureService service("zeph_case", "prompt");
    std::string upper = service.Name();
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(Run({{upper, "Stop & Restart"}}), Expected({Stopping(service)}, {}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(ServicePhases, ActionTextsAreComparedAsWholeCaseSensitiveValues)
{
    // "stop" is not "Stop": stopped and started again. "No Action" is left alone.
    zt::FixtureService lower("zeph_lower", "prompt");
    zt::FixtureService untouched("zeph_noaction", "prompt");
    ASSERT_EQ(lower.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    ASSERT_EQ(untouched.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Run({{untouched.Name(), "No Action"}, {lower.Name(), "stop"}}),
              Expected({Stopping(lower)}, {Starting(lower)}));
    EXPECT_EQ(lower.State(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(untouched.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServicePhases, ServiceThatRefusesStopGivesAWarningAndIsStartedWithoutError)
{
    zt::FixtureService service("zeph_refuse", "refuse");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Run({{service.Name(), "Stop & Restart"}}),
              Expected({Stopping(service), "\r\nERROR: '" + service.DisplayName()
                                               + "' does not respond to STOP requests.  Skipping..."},
                       {Starting(service)}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServicePhases, RefusedStopIsAYellowWarningAndAMissingServiceARedError)
{
    zt::FixtureService service("zeph_colour", "refuse");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string key = zt::UniqueServiceName("ZephNoSuchService");
    zt::WriteFileBytes(ProfilePath(), zt::ServicesProfile({{service.Name(), "Stop"}, {key, "Stop"}}));
    const zt::ConsoleRun run = zt::RunControllerOnConsole({ProfilePath()}, "");
    ASSERT_FALSE(run.result.timedOut);
    const WORD yellow = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_INTENSITY;
    const WORD red = FOREGROUND_RED | FOREGROUND_INTENSITY;
    const WORD grey = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;
    EXPECT_EQ(zt::AttributeOfText(run, "ERROR: '" + service.DisplayName() + "' does not respond"), yellow);
    EXPECT_EQ(zt::AttributeOfText(run, "ERROR: Unable to open Service '" + key + "'"), red);
    EXPECT_EQ(zt::AttributeOfText(run, "Stopping '" + service.DisplayName() + "'..."), grey);
}

TEST_F(ServicePhases, UnknownServiceKeyCannotBeOpenedInEitherPhase)
{
    const std::string key = zt::UniqueServiceName("ZephNoSuchService");
    EXPECT_EQ(Run({{key, "Stop & Restart"}}), Expected({UnableToOpen(key)}, {UnableToOpen(key)}));
}

TEST_F(ServicePhases, SlowServiceIsWaitedForWhileItsCheckpointGrows)
{
    // Eight checkpoints 700 ms apart with a wait hint of 2500 ms: the stop takes about six
    // seconds, far beyond the hint, so only the checkpoint rule keeps phase 3 waiting.
    // Had phase 3 returned early, phase 8 would find the service still stopping and it
    // would end up stopped.
    zt::FixtureService service("zeph_slow", "slow 8 700 2500");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Run({{service.Name(), "Stop & Restart"}}), Expected({Stopping(service)}, {Starting(service)}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServicePhases, SlowStopServiceHasStoppedWhenTheRunEnds)
{
    zt::FixtureService service("zeph_slowstop", "slow 5 700 2500");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Run({{service.Name(), "Stop"}}), Expected({Stopping(service)}, {}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));
}

TEST_F(ServicePhases, ServiceHangingInStopPendingIsLeftAfterItsWaitHint)
{
    // No checkpoint progress: the wait ends silently once the 2000 ms hint has passed,
    // and the run goes on while the service still reports STOP_PENDING.
    zt::FixtureService service("zeph_hang", "hang 2000");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(Run({{service.Name(), "Stop"}}), Expected({Stopping(service)}, {}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOP_PENDING));
}

TEST_F(ServicePhases, MoreEntriesThanOneBatchOfThreadsAreAllHandled)
{
    // 2 fixture services and 48 unknown keys: 50 threads per phase, two batches.
    zt::FixtureService first("zeph_batch_a", "prompt");
    zt::FixtureService second("zeph_batch_b", "prompt");
    ASSERT_EQ(first.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    ASSERT_EQ(second.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    Entries entries = {{first.Name(), "Stop & Restart"}};
    std::vector<std::string> phase3 = {Stopping(first), Stopping(second)};
    std::vector<std::string> phase8 = {Starting(first), Starting(second)};
    for (int i = 0; i < 48; ++i) {
        const std::string key = zt::UniqueServiceName("ZephMissing");
        entries.push_back({key, "Stop & Restart"});
        phase3.push_back(UnableToOpen(key));
        phase8.push_back(UnableToOpen(key));
    }
    entries.push_back({second.Name(), "Stop & Restart"});
    const std::string output = Run(entries);
    const std::string phase3Heading = "\r\nPhase 3: Stopping Services";
    const std::string phase4Heading = "\r\nPhase 4: Defragmenting memory...skipping";
    const std::string phase8Heading = "\r\nPhase 8:  Restarting Services";
    const std::string phase9Heading = "\r\nPhase 9:  Restarting Programs";
    auto sorted = [&](const std::string& text) {
        return zt::SortLinesBetween(zt::SortLinesBetween(text, phase3Heading, phase4Heading), phase8Heading,
                                    phase9Heading);
    };
    EXPECT_EQ(sorted(output), sorted(Expected(phase3, phase8)));
    EXPECT_EQ(first.State(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(second.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(ServicePhases, Windows9xSkipsBothServicePhases)
{
    zt::FixtureService service("zeph_9x", "prompt");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string exeName = zt::UniqueServiceName("zephrun_9x") + ".exe";
    const std::string controller = zt::CopyBinaryAs("zephrun.exe", Folder().Path(), exeName);
    zt::ScopedWineVersion win98(exeName, "win98");
    const std::string skip = "\r\n...skipping since OS is Windows 9x/ME";
    EXPECT_EQ(Run({{service.Name(), "Stop & Restart"}}, controller), Expected({skip}, {skip}));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
}

}  // namespace
