// Phase 5 to 7 end to end: the "<not set>" marker, a failing launch, paths with blanks,
// and a main application that has already ended when phase 6 begins.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_profile.h"
#include "support/wine_harness.h"

TEST(MainAppLaunch, NotSetMarkerIsRefusedAndPhases5To7AreSkipped)
{
    zt::TempFolder folder;
    const std::string profile = zt::WriteProfile(folder,
                                                 "[Configuration]\r\nfspath=<not set>\r\nfscmdline=-x\r\n"
                                                 "autostartdelay=0\r\nlogging=1\r\n"
                                                 "[AutoStart]\r\nC:\\nothing\\never.exe=|0\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);

    std::vector<std::string> phase5 = {
        "\r\nERROR: Main Application program path is not set!  Please run Zephlaunch to configure..."};
    for (const std::string& line : zt::SkippedPhases5to7())
        phase5.push_back(line);
    const std::vector<std::string> expected = zt::RunMessages(profile, phase5);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(expected));
    EXPECT_EQ(zt::NormalizeMemoryFigures(zt::ReadFileBytes(folder.File("zephrun_log.txt"))),
              zt::WithoutBanner(expected));
}

TEST(MainAppLaunch, UpperCaseMarkerIsAPathThatFailsToStart)
{
    zt::TempFolder folder;
    const std::string profile =
        zt::WriteProfile(folder, "[Configuration]\r\nfspath=<NOT SET>\r\nautostartdelay=0\r\n");
    const DWORD error = zt::CreateProcessError("\"<NOT SET>\" ");
    ASSERT_NE(error, 0u);

    zt::RunOptions options;
    options.workDir = folder.Path();
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);

    std::vector<std::string> phase5 = {
        "\r\nStarting <NOT SET> ",
        "\r\nERROR: Could not create process path = <NOT SET>, error code " + std::to_string(error)};
    for (const std::string& line : zt::SkippedPhases5to7())
        phase5.push_back(line);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5)));
}

// Program.exe beside "Program Files" would be started instead of the configured program
// if the path reached CreateProcessA without quotes.
TEST(MainAppLaunch, PathsWithBlanksStartExactlyTheConfiguredPrograms)
{
    zt::TempFolder folder;
    const std::string root = folder.Path();
    const std::string decoy = zt::CopyBinaryAs("fixture_mainapp.exe", root, "Program.exe");
    ASSERT_TRUE(CreateDirectoryA((root + "\\Program Files").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\Program Files\\Game").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((root + "\\Program Files\\Tool").c_str(), nullptr));
    const std::string game =
        zt::CopyBinaryAs("fixture_mainapp.exe", root + "\\Program Files\\Game", "mal_game.exe");
    const std::string tool =
        zt::CopyBinaryAs("fixture_mainapp.exe", root + "\\Program Files\\Tool", "mal_tool.exe");
    const std::string gameReport = folder.File("game.txt");
    const std::string gameArguments = "--report " + gameReport + " --seconds 0";

    const std::string profile = zt::WriteProfile(
        folder, "[Configuration]\r\nfspath=" + game + "\r\nfscmdline=" + gameArguments
                    + "\r\nautostartdelay=0\r\n[AutoStart]\r\n" + tool + "=--seconds 0|2\r\n");
    zt::RunOptions options;
    options.workDir = root;
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);

    const std::vector<std::string> phase5to7 =
        zt::MainAppPhases(game + " " + gameArguments, 0,
                          zt::Join({"\r\nExecuting " + tool + " --seconds 0..."}, zt::Countdown(2)));
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5to7)));

    const std::string gameSaw = zt::ReadFileBytes(gameReport);
    EXPECT_EQ(zt::ReportValue(gameSaw, "module"), game);
    EXPECT_EQ(zt::ReportValue(gameSaw, "cwd"), root + "\\Program Files\\Game");
    EXPECT_EQ(zt::ReportValue(gameSaw, "cmdline"), "\"" + game + "\" " + gameArguments);
    const std::string toolSaw = zt::ReadFileBytes(tool + ".report");
    EXPECT_EQ(zt::ReportValue(toolSaw, "module"), tool);
    EXPECT_EQ(zt::ReportValue(toolSaw, "cwd"), root + "\\Program Files\\Tool");
    EXPECT_EQ(zt::ReportValue(toolSaw, "cmdline"), "\"" + tool + "\" --seconds 0");
    EXPECT_FALSE(zt::FileExists(decoy + ".report")) << zt::ReadFileBytes(decoy + ".report");
}

TEST(MainAppLaunch, MainApplicationEndedBeforePhase6StillGetsItsAutoStartProgramsStartedAndEnded)
{
    zt::TempFolder folder;
    const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mal_quick.exe");
    const std::string first = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mal_keep1.exe");
    const std::string second = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mal_keep2.exe");
    // The main application ends at once; the start-up delay makes sure it has ended.
    const std::string profile = zt::WriteProfile(folder, "[Configuration]\r\nfspath=" + main +
                                                           "\r\nfscmdline=--seconds 0\r\nautostartdelay=2\r\n"
                                                           "nonresponse=3\r\n[AutoStart]\r\n" +
                                                           first + "=--seconds 90|\r\n" + second +
                                                           "=--seconds 90|1\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    const zt::Stopwatch watch;
    const zt::RunResult result = zt::RunController({profile}, options);
    const DWORD elapsed = watch.ElapsedMs();
    const std::vector<DWORD> leftFirst = zt::FindProcesses("mal_keep1.exe");
    const std::vector<DWORD> leftSecond = zt::FindProcesses("mal_keep2.exe");
    zt::KillProcesses("mal_keep1.exe");
    zt::KillProcesses("mal_keep2.exe");
    ASSERT_FALSE(result.timedOut);

    const std::vector<std::string> phase5to7 = zt::MainAppPhases(
        main + " --seconds 0", 2,
        zt::Join(
            {"\r\nExecuting " + first + " --seconds 90...", "\r\nExecuting " + second + " --seconds 90..."},
            zt::Countdown(1)),
        {"\r\nTerminating mal_keep1.exe...", "\r\nTerminating mal_keep2.exe..."});
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5to7)));
    EXPECT_TRUE(leftFirst.empty());
    EXPECT_TRUE(leftSecond.empty());
    // Two seconds of start-up delay and one of the second entry's countdown really pass.
    EXPECT_GE(elapsed, 3000u);
    EXPECT_LT(elapsed, 3000u + zt::kRunSlackMs);
    // Both were started (they reported) and did not end by themselves (no "end=").
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(second + ".report"), "module"), second);
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(second + ".report"), "end"), "");
}

// A negative start-up delay is shown as it is and does not pause (a wait of that many
// seconds taken as unsigned would last for weeks: the watchdog would end the run).
TEST(MainAppLaunch, NegativeStartUpDelayDoesNotPause)
{
    zt::TempFolder folder;
    const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mal_neg.exe");
    const std::string profile =
        zt::WriteProfile(folder, "[Configuration]\r\nfspath=" + main + "\r\nautostartdelay=-3\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.timeoutMs = 30000;
    const zt::Stopwatch watch;
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_LT(watch.ElapsedMs(), zt::kRunSlackMs);
    const std::vector<std::string> phase5to7 = zt::MainAppPhases(main + " ", -3);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5to7)));
}

// Without an autostartdelay setting the controller gives the main application 30 seconds
// before phase 6 (the dry run tells without waiting them; the delay itself is really
// waited in MainApplicationEndedBeforePhase6StillGetsItsAutoStartProgramsStartedAndEnded),
// and 120 for the real program behind a launcher. A renamed controller never lists itself.
TEST(MainAppLaunch, DefaultStartUpDelayIsThirtySeconds)
{
    zt::TempFolder folder;
    const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mal_default.exe");
    const std::string profile =
        zt::WriteProfile(folder, "[Configuration]\r\nfspath=" + main
                                     + "\r\nMainAppExe=mal_x.exe\r\n[Programs]\r\nmal_ctl.exe=Stop\r\n");
    zt::RunOptions options;
    options.controllerPath = zt::CopyBinaryAs("zephrun.exe", folder.Path(), "mal_ctl.exe");
    const zt::RunResult result = zt::RunController({"--dry-run", profile}, options);
    EXPECT_EQ(
        zt::FirstMissingInOrder(
            result.output,
            {zt::TextMode("\r\nmal_ctl.exe is not running - nothing to do"),
             zt::TextMode("\r\nWould wait 30 seconds for it to finish starting\r\nThe started program is a "
                          "launcher: would wait for mal_x.exe as the Main Application\r\n  for up to 120 "
                          "seconds after the start-up delay until it runs,\r\n  then until every copy of it "
                          "has finished, and 5 seconds more for a restart\r\n")}),
        "")
        << result.output;
}

// A value that starts with a quote is a command line of its own: the quoted program (in a
// folder with a blank) starts in its folder, with the value's arguments and then fscmdline.
TEST(MainAppLaunch, QuotedPathWithArgumentsIsUsedAsItIs)
{
    zt::TempFolder folder;
    const std::string blankFolder = folder.File("x y");
    ASSERT_TRUE(CreateDirectoryA(blankFolder.c_str(), nullptr));
    const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", blankFolder, "mal_quoted.exe");
    const std::string report = folder.File("quoted.txt");
    const std::string value = "\"" + main + "\" --report " + report;
    const std::string profile = zt::WriteProfile(
        folder, "[Configuration]\r\nfspath=" + value + "\r\nfscmdline=--seconds 0\r\nautostartdelay=0\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);

    const std::vector<std::string> phase5to7 = zt::MainAppPhases(value + " --seconds 0", 0);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5to7)));
    const std::string saw = zt::ReadFileBytes(report);
    EXPECT_EQ(zt::ReportValue(saw, "module"), main);
    EXPECT_EQ(zt::ReportValue(saw, "cmdline"), value + " --seconds 0");
    EXPECT_EQ(zt::ReportValue(saw, "cwd"), blankFolder);
}
