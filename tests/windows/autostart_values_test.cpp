// [AutoStart] values as the controller reads them: arguments up to the first "|", the
// delay after the last one, and the countdown that rewrites one console line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_profile.h"
#include "support/wine_harness.h"

namespace {

struct AutoStartRun {
    zt::RunResult result;
    std::string log;
    std::string profile;
};

// The main application ends at once; the auto-start programs are fixture copies that
// record their command line in "<exe>.report" and end at once too.
AutoStartRun RunEntries(const zt::TempFolder& folder, const std::string& entries)
{
    const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_main.exe");
    AutoStartRun run;
    run.profile =
        zt::WriteProfile(folder, "[Configuration]\r\nfspath=" + main
                                     + "\r\nautostartdelay=0\r\nlogging=1\r\n[AutoStart]\r\n" + entries);
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.timeoutMs = 120000;
    run.result = zt::RunController({run.profile}, options);
    run.log = zt::ReadFileBytes(folder.File("zephrun_log.txt"));
    return run;
}

// Phases 5 to 7 around the auto-start lines.
std::vector<std::string> AroundAutoStart(const zt::TempFolder& folder, const std::vector<std::string>& phase6)
{
    return zt::MainAppPhases(folder.File("asv_main.exe") + " ", 0, phase6);
}

}  // namespace

// "|": no arguments, no delay; "-fast|x": arguments -fast, delay 0; "-a|b|3": arguments
// -a, delay 3 (the first "|" ends the arguments, the last one starts the delay); "|-2":
// one line with the negative delay and the blanking line, no pause. The entry with the
// delay comes last, so that every program has ended by itself before phase 7.
TEST(AutoStartValues, ArgumentsDelaysAndTheCountdownLine)
{
    zt::TempFolder folder;
    const std::string bar = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_bar.exe");
    const std::string fast = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_fast.exe");
    const std::string negative = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_neg.exe");
    const std::string two = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_two.exe");
    const zt::Stopwatch watch;
    const AutoStartRun run = RunEntries(
        folder, bar + "=|\r\n" + fast + "=-fast|x\r\n" + negative + "=|-2\r\n" + two + "=-a|b|3\r\n");
    const DWORD elapsed = watch.ElapsedMs();
    ASSERT_FALSE(run.result.timedOut);
    // The three seconds really pass (and the negative delay adds none).
    EXPECT_GE(elapsed, 3000u);
    EXPECT_LT(elapsed, 3000u + zt::kRunSlackMs);

    const std::vector<std::string> phase5to7 = AroundAutoStart(
        folder,
        zt::Join(zt::Join(zt::Join({"\r\nExecuting " + bar + " ...", "\r\nExecuting " + fast + " -fast...",
                                    "\r\nExecuting " + negative + " ..."},
                                   zt::Countdown(-2)),
                          {"\r\nExecuting " + two + " -a..."}),
                 zt::Countdown(3)));
    const std::vector<std::string> expected = zt::RunMessages(run.profile, phase5to7);
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output), zt::Transcript(expected));
    // In the log the countdown stays on one line: "\r" alone, never turned into CR LF.
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.log), zt::WithoutBanner(expected));
    EXPECT_NE(run.log.find("continuing...\rWaiting 2 seconds before continuing...\rWaiting 1 seconds"),
              std::string::npos);

    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(bar + ".report"), "cmdline"), "\"" + bar + "\" ");
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(fast + ".report"), "cmdline"), "\"" + fast + "\" -fast");
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(two + ".report"), "cmdline"), "\"" + two + "\" -a");
}

// The delay after the last bar (told by the dry run; countdowns are really waited above).
TEST(AutoStartValues, TwelveSecondDelayAfterTwoBars)
{
    zt::TempFolder folder;
    const std::string profile = zt::WriteProfile(
        folder, "[Configuration]\r\nfspath=C:\\main.exe\r\n[AutoStart]\r\nC:\\twelve.exe=-a|b|12\r\n");
    const zt::RunResult result = zt::RunController({"--dry-run", profile});
    EXPECT_NE(
        result.output.find(zt::TextMode("\r\nWould execute C:\\twelve.exe -a, then wait 12 seconds\r\n")),
        std::string::npos)
        << result.output;
}

// A program that cannot be started gets its error line (with the command line) and its
// delay is skipped; the next entry follows at once. A key without a folder is started
// in the controller's own working folder (and found there).
TEST(AutoStartValues, FailedLaunchSkipsItsDelay)
{
    zt::TempFolder folder;
    const std::string missing = folder.File("asv_missing.exe");
    const std::string after = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_after.exe");
    const std::string plain = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_plain.exe");
    const DWORD error = zt::CreateProcessError("\"" + missing + "\" -x");
    ASSERT_NE(error, 0u);
    const zt::Stopwatch watch;
    const AutoStartRun run =
        RunEntries(folder, missing + "=-x|30\r\n" + after + "=-y|0\r\nasv_plain.exe=-z|2\r\n");
    const DWORD elapsed = watch.ElapsedMs();
    ASSERT_FALSE(run.result.timedOut);
    // Two seconds for the last entry; none of the 30 of the entry that failed.
    EXPECT_GE(elapsed, 2000u);
    EXPECT_LT(elapsed, 2000u + zt::kRunSlackMs);
    const std::vector<std::string> phase5to7 = AroundAutoStart(
        folder, zt::Join({"\r\nExecuting " + missing + " -x...",
                          "\r\nERROR: Could not create process path = " + missing + " -x, error code "
                              + std::to_string(error),
                          "\r\nExecuting " + after + " -y...", "\r\nExecuting asv_plain.exe -z..."},
                         zt::Countdown(2)));
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output),
              zt::Transcript(zt::RunMessages(run.profile, phase5to7)));
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(after + ".report"), "cmdline"), "\"" + after + "\" -y");
    const std::string plainSaw = zt::ReadFileBytes(plain + ".report");
    EXPECT_EQ(zt::ReportValue(plainSaw, "cmdline"), "\"asv_plain.exe\" -z");
    EXPECT_EQ(zt::ReportValue(plainSaw, "cwd"), folder.Path());
}
