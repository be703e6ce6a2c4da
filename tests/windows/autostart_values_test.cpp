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

std::vector<std::string> Phase5Until6(const zt::TempFolder& folder)
{
    return {"\r\nStarting " + folder.File("asv_main.exe") + " ",
            "\r\nWaiting 0 seconds for Main Application to finish starting...",
            "\r\nPhase 6:  Auto Starting Programs"};
}

void AddLines(std::vector<std::string>& to, const std::vector<std::string>& lines)
{
    to.insert(to.end(), lines.begin(), lines.end());
}

std::string WithoutBanner(std::vector<std::string> messages)
{
    messages.erase(messages.begin());
    return zt::Transcript(messages);
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

    std::vector<std::string> phase5to7 = Phase5Until6(folder);
    phase5to7.push_back("\r\nExecuting " + bar + " ...");
    phase5to7.push_back("\r\nExecuting " + fast + " -fast...");
    phase5to7.push_back("\r\nExecuting " + negative + " ...");
    AddLines(phase5to7, zt::Countdown(-2));
    phase5to7.push_back("\r\nExecuting " + two + " -a...");
    AddLines(phase5to7, zt::Countdown(3));
    phase5to7.push_back("\r\nWaiting for Main Application to finish");
    phase5to7.push_back("\r\nPhase 7:  Stopping programs that were auto started");
    const std::vector<std::string> expected = zt::RunMessages(run.profile, phase5to7);
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output), zt::Transcript(expected));
    // In the log the countdown stays on one line: "\r" alone, never turned into CR LF.
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.log), WithoutBanner(expected));
    EXPECT_NE(run.log.find("continuing...\rWaiting 2 seconds before continuing...\rWaiting 1 seconds"),
              std::string::npos);

    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(bar + ".report"), "cmdline"), "\"" + bar + "\" ");
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(fast + ".report"), "cmdline"), "\"" + fast + "\" -fast");
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(two + ".report"), "cmdline"), "\"" + two + "\" -a");
}

TEST(AutoStartValues, TwelveSecondDelayAfterTwoBars)
{
    zt::TempFolder folder;
    const std::string twelve = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "asv_twelve.exe");
    const zt::Stopwatch watch;
    const AutoStartRun run = RunEntries(folder, twelve + "=-a|b|12\r\n");
    const DWORD elapsed = watch.ElapsedMs();
    ASSERT_FALSE(run.result.timedOut);
    EXPECT_GE(elapsed, 12000u);
    EXPECT_LT(elapsed, 12000u + zt::kRunSlackMs);
    std::vector<std::string> phase5to7 = Phase5Until6(folder);
    phase5to7.push_back("\r\nExecuting " + twelve + " -a...");
    AddLines(phase5to7, zt::Countdown(12));
    phase5to7.push_back("\r\nWaiting for Main Application to finish");
    phase5to7.push_back("\r\nPhase 7:  Stopping programs that were auto started");
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output),
              zt::Transcript(zt::RunMessages(run.profile, phase5to7)));
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
    std::vector<std::string> phase5to7 = Phase5Until6(folder);
    phase5to7.push_back("\r\nExecuting " + missing + " -x...");
    phase5to7.push_back("\r\nERROR: Could not create process path = " + missing + " -x, error code "
                        + std::to_string(error));
    phase5to7.push_back("\r\nExecuting " + after + " -y...");
    phase5to7.push_back("\r\nExecuting asv_plain.exe -z...");
    AddLines(phase5to7, zt::Countdown(2));
    phase5to7.push_back("\r\nWaiting for Main Application to finish");
    phase5to7.push_back("\r\nPhase 7:  Stopping programs that were auto started");
    EXPECT_EQ(zt::NormalizeMemoryFigures(run.result.output),
              zt::Transcript(zt::RunMessages(run.profile, phase5to7)));
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(after + ".report"), "cmdline"), "\"" + after + "\" -y");
    const std::string plainSaw = zt::ReadFileBytes(plain + ".report");
    EXPECT_EQ(zt::ReportValue(plainSaw, "cmdline"), "\"asv_plain.exe\" -z");
    EXPECT_EQ(zt::ReportValue(plainSaw, "cwd"), folder.Path());
}
