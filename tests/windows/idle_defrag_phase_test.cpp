// Phase 1 under the Windows versions Wine can pretend to be, and phase 4 for real.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_profile.h"
#include "support/wine_harness.h"

namespace {

const char kXpWarning[] =
    "\r\nWARNING: This *may* take up to 15 minutes or more. Your hard drive will be active during this "
    "process.";
const char kNotXpWarning[] =
    "\r\bWARNING: Can only use ProcessIdleTasks on Windows XP or newer.  Skipping...";

std::vector<std::string> NotSetPhase5()
{
    std::vector<std::string> lines = {
        "\r\nERROR: Main Application program path is not set!  Please run Zephlaunch to configure..."};
    for (const std::string& line : zt::SkippedPhases5to7())
        lines.push_back(line);
    return lines;
}

struct VersionRun {
    zt::RunResult result;
    std::string log;
    std::string profile;
};

// Runs a copy of the controller that Wine reports as the given Windows version.
VersionRun RunAsVersion(const std::string& version, const std::string& configuration)
{
    zt::TempFolder folder;
    const std::string exeName = "idf_" + version + "_zr.exe";
    const std::string controller = zt::CopyBinaryAs("zephrun.exe", folder.Path(), exeName);
    zt::ScopedWineVersion scoped(exeName, version);
    VersionRun run;
    run.profile = zt::WriteProfile(folder, "[Configuration]\r\nlogging=1\r\n" + configuration);
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.controllerPath = controller;
    run.result = zt::RunController({run.profile}, options);
    run.log = zt::ReadFileBytes(folder.File("zephrun_log.txt"));
    return run;
}

}  // namespace

// Wine's advapi32 has no ProcessIdleTasks: on "Windows XP" the lookup fails for real.
TEST(IdleTasks, WindowsXpWarnsAndReportsTheMissingEntryPoint)
{
    const VersionRun run = RunAsVersion("winxp", "procidletasks=1\r\n");
    ASSERT_FALSE(run.result.timedOut);
    const std::vector<std::string> expected = zt::RunMessages(
        run.profile, NotSetPhase5(), {kXpWarning, "\r\nERROR:  Unable to GetProcAddress - error code 127"});
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output), zt::Transcript(expected));
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.log), zt::WithoutBanner(expected));
}

TEST(IdleTasks, OtherVersionsOverwriteTheHeadingWithTheNotXpWarning)
{
    for (const std::string version : {"win2k", "win10"}) {
        const VersionRun run = RunAsVersion(version, "procidletasks=1\r\n");
        ASSERT_FALSE(run.result.timedOut);
        const std::vector<std::string> expected =
            zt::RunMessages(run.profile, NotSetPhase5(), {kNotXpWarning});
        EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output), zt::Transcript(expected)) << version;
        EXPECT_EQ(zt::NormalizeMemoryFigures(run.log), zt::WithoutBanner(expected)) << version;
        // Carriage return and backspace, no line feed: the heading line is overwritten.
        EXPECT_NE(run.log.find("execute.\r\bWARNING"), std::string::npos) << version;
    }
}

TEST(IdleTasks, OnlyExactlyOneEnablesThePhase)
{
    const VersionRun run = RunAsVersion("winxp", "procidletasks=2\r\ndefragmem=2\r\n");
    ASSERT_FALSE(run.result.timedOut);
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output),
              zt::Transcript(zt::RunMessages(run.profile, NotSetPhase5())));
}

// This machine has more than the 3560 MiB that the 356 slots hold, so the phase runs into
// its cap; a smaller machine gets its numbered blocks and the final block. A 32-bit
// controller may run out of address space first; it then says so and the run goes on, and
// it has still had well over 1.5 GB (2 GB of address space on every Windows).
TEST(MemoryDefrag, AllocatesBlocksUpToThePhysicalMemoryOrTheCapAndGoesOn)
{
    zt::TempFolder folder;
    const std::string profile = zt::WriteProfile(folder, "[Configuration]\r\ndefragmem=1\r\nlogging=1\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.timeoutMs = 240000;
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);
    int shortAt = 0;
    const std::vector<std::string> phase4 = zt::DefragPhaseMessages(result.output, &shortAt);
    if (shortAt != 0 && result.output.find("Unable to allocate memory") != std::string::npos) {
        EXPECT_GE(shortAt, 150) << "a 32-bit controller stopped far below its address space";
    }
    const std::vector<std::string> expected =
        zt::RunMessages(profile, NotSetPhase5(),
                        {"\r\nSkipping Phase 1: Forcing Idle tasks to execute - not enabled"}, phase4);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(expected));
    EXPECT_EQ(zt::NormalizeMemoryFigures(zt::ReadFileBytes(folder.File("zephrun_log.txt"))),
              zt::WithoutBanner(expected));
}
