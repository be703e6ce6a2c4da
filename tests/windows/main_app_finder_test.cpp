// MainAppExe: the launched program is only a launcher, and the controller finds the real
// main application by its executable name, sets its priority and waits for it.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "support/run_profile.h"
#include "support/wine_harness.h"

namespace {

bool WaitUntilGone(const std::string& exeName, int maxSeconds)
{
    for (int i = 0; i < maxSeconds * 10; ++i) {
        if (zt::FindProcesses(exeName).empty())
            return true;
        Sleep(100);
    }
    return false;
}

}  // namespace

TEST(MainAppFinder, FoundProcessGetsThePriorityAndIsWaitedForNotTheLauncher)
{
    zt::TempFolder folder;
    const std::string launcher = zt::CopyBinaryAs("fixture_launcher.exe", folder.Path(), "maf_launch.exe");
    const std::string real = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maf_real.exe");
    const std::string helper = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maf_auto.exe");
    const std::string report = folder.File("real.txt");
    const std::string eventName = "zeph_maf_" + std::to_string(GetCurrentProcessId());
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(quit, nullptr);
    const std::string arguments =
        real + " --report " + report + " --until-event " + eventName + " --seconds 90";
    const std::string profile = zt::WriteProfile(
      folder, "[Configuration]\r\nfspath=" + launcher + "\r\nfscmdline=" + arguments +
                  "\r\nfspriority=High\r\nautostartdelay=2\r\nMainAppExe=maf_real.exe\r\nlogging=1\r\n"
                  "nonresponse=3\r\n[AutoStart]\r\n" + helper + "=--seconds 90|0\r\n");

    zt::RunResult result;
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.timeoutMs = 120000;
    std::thread run([&] { result = zt::RunController({profile}, options); });

    const std::string log = folder.File("zephrun_log.txt");
    const std::string waitLine = "\r\nWaiting for Main Application to finish";
    const bool waiting =
        zt::WaitForFileText(
            log, [&](const std::string& text) { return text.find(waitLine) != std::string::npos; }, 60000)
            .find(waitLine)
        != std::string::npos;
    const bool launcherGone = WaitUntilGone("maf_launch.exe", 20);
    Sleep(1500);  // room for a wrong wait (on the long gone launcher) to end
    const std::string logWhileWaiting = zt::ReadFileBytes(log);
    const bool realRunning = !zt::FindProcesses("maf_real.exe").empty();
    SetEvent(quit);
    run.join();
    CloseHandle(quit);
    zt::KillProcesses("maf_auto.exe");

    ASSERT_TRUE(waiting) << result.output;
    EXPECT_TRUE(launcherGone);
    EXPECT_TRUE(realRunning);
    EXPECT_EQ(logWhileWaiting.find("Phase 7"), std::string::npos) << logWhileWaiting;
    ASSERT_FALSE(result.timedOut);

    std::vector<std::string> phase5to7 =
        zt::MainAppPhases(launcher + " " + arguments, 2, {"\r\nExecuting " + helper + " --seconds 90..."},
                          {"\r\nTerminating maf_auto.exe..."});
    phase5to7.insert(phase5to7.end() - 2,
                     "\r\nmaf_real.exe has finished; looking 5 seconds for it to start again...");
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5to7)));
    const std::string saw = zt::ReadFileBytes(report);
    EXPECT_EQ(zt::ReportValue(saw, "priority"), "0x80") << saw;  // High, on the real program
    EXPECT_EQ(zt::ReportValue(saw, "end"), "event");
}

TEST(MainAppFinder, NameNotRunningSkipsPhases6And7ButNot8And9)
{
    zt::TempFolder folder;
    const std::string launcher = zt::CopyBinaryAs("fixture_launcher.exe", folder.Path(), "maf_launch2.exe");
    const std::string real = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maf_real2.exe");
    const std::string arguments = real + " --seconds 0";
    const std::string profile = zt::WriteProfile(
        folder, "[Configuration]\r\nfspath=" + launcher + "\r\nfscmdline=" + arguments
                    + "\r\nautostartdelay=1\r\nMainAppExe=maf_nosuch.exe\r\nmainappwait=1\r\n[AutoStart]\r\n"
                    + real + "=|0\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);

    // Error 87: what OpenProcess says for process id 0, the id of "nothing found".
    std::vector<std::string> phase5 = {"\r\nStarting " + launcher + " " + arguments,
                                       "\r\nWaiting 1 seconds for Main Application to finish starting...",
                                       "\r\nWaiting up to 1 seconds for maf_nosuch.exe to start...",
                                       "\r\nERROR:  Unable to open process, error code 87"};
    for (const std::string& line : zt::SkippedPhases5to7())
        phase5.push_back(line);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5)));
}

// "<not set>" and an empty MainAppExe both mean: the launched program is the main application.
TEST(MainAppFinder, EmptyOrNotSetNameWaitsForTheLaunchedProgram)
{
    for (const std::string name : {"", "<not set>"}) {
        zt::TempFolder folder;
        const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maf_self.exe");
        const std::string report = folder.File("main.txt");
        const std::string profile =
            zt::WriteProfile(folder, "[Configuration]\r\nfspath=" + main + "\r\nfscmdline=--report " + report
                                         + " --seconds 3\r\nfspriority=Low\r\nautostartdelay=0\r\nMainAppExe="
                                         + name + "\r\n");
        zt::RunOptions options;
        options.workDir = folder.Path();
        const zt::RunResult result = zt::RunController({profile}, options);
        ASSERT_FALSE(result.timedOut);
        EXPECT_NE(result.output.find("\r\r\nWaiting for Main Application to finish\r\r\nPhase 7:"),
                  std::string::npos)
            << result.output;
        const std::string saw = zt::ReadFileBytes(report);
        EXPECT_EQ(zt::ReportValue(saw, "end"), "time") << "MainAppExe=" << name;  // waited for, to its end
        EXPECT_EQ(zt::ReportValue(saw, "priority"), "0x40") << "MainAppExe=" << name;
    }
}

// mainappwait=0: the launcher takes longer than autostartdelay to start the real program:
// not found, phases 6 and 7 are skipped, 8 and 9 follow, and the real program comes up later.
TEST(MainAppFinder, LauncherSlowerThanTheStartUpDelayIsNotFound)
{
    zt::TempFolder folder;
    const std::string launcher = zt::CopyBinaryAs("fixture_launcher.exe", folder.Path(), "maf_slow.exe");
    const std::string real = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maf_late.exe");
    const std::string arguments = "--after 3000 " + real + " --seconds 0";
    const std::string profile = zt::WriteProfile(
        folder, "[Configuration]\r\nfspath=" + launcher + "\r\nfscmdline=" + arguments
                    + "\r\nautostartdelay=0\r\nMainAppExe=maf_late.exe\r\nmainappwait=0\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);
    std::vector<std::string> phase5 = {"\r\nStarting " + launcher + " " + arguments,
                                       "\r\nWaiting 0 seconds for Main Application to finish starting...",
                                       "\r\nERROR:  Unable to open process, error code 87"};
    for (const std::string& line : zt::SkippedPhases5to7())
        phase5.push_back(line);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5)));
    for (int i = 0; i < 100 && !zt::FileExists(real + ".report"); ++i)
        Sleep(100);
    EXPECT_EQ(zt::ReportValue(zt::ReadFileBytes(real + ".report"), "module"), real);  // started after the run
}

// The launcher starts the real program after the start-up delay and exits; the real
// program runs two copies (a twin that outlives it), and the twin restarts itself once
// through a launcher, so that for 1.5 s no copy runs. Phase 7 follows only after the last
// copy, and ends the auto-start program the run started, not the user's copy from before.
TEST(MainAppFinder, LateStartTwoCopiesAndARestartAreAllWaitedFor)
{
    zt::TempFolder folder;
    const std::string launcher = zt::CopyBinaryAs("fixture_launcher.exe", folder.Path(), "maf_l3.exe");
    const std::string real = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maf_real3.exe");
    const std::string helper = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maf_auto3.exe");
    const std::string report = folder.File("real3.txt");
    HANDLE users =
        zt::StartProgram("\"" + helper + "\" --report " + folder.File("user.txt") + " --seconds 120");
    ASSERT_NE(users, nullptr);
    const std::string arguments =
        "--after 2500 " + real + " --report " + report + " --seconds 2 --twin 4 --relaunch-via " + launcher;
    const std::string profile = zt::WriteProfile(
        folder, "[Configuration]\r\nfspath=" + launcher + "\r\nfscmdline=" + arguments
                    + "\r\nfspriority=High\r\nautostartdelay=1\r\nMainAppExe=maf_real3.exe\r\nmainappwait=30\r\n"
                      "nonresponse=3\r\n[AutoStart]\r\n"
                    + helper + "=--seconds 90|0\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.timeoutMs = 120000;
    const zt::RunResult result = zt::RunController({profile}, options);
    const bool left = !zt::FindProcesses("maf_real3.exe").empty();
    const bool usersRuns = WaitForSingleObject(users, 0) == WAIT_TIMEOUT;
    TerminateProcess(users, 0);
    CloseHandle(users);
    zt::KillProcesses("maf_auto3.exe");
    ASSERT_FALSE(result.timedOut) << result.output;

    const std::string restart =
        zt::TextMode("\r\nmaf_real3.exe has finished; looking 5 seconds for it to start again...");
    EXPECT_EQ(
        zt::FirstMissingInOrder(
            result.output, {zt::TextMode("\r\nWaiting up to 30 seconds for maf_real3.exe to start..."),
                            zt::TextMode("\r\nWaiting for Main Application to finish"), restart,
                            zt::TextMode("\r\nmaf_real3.exe started again: waiting for it to finish"),
                            restart, zt::TextMode("\r\nPhase 7:  Stopping programs that were auto started"),
                            zt::TextMode("\r\nTerminating maf_auto3.exe...")}),
        "")
        << result.output;
    EXPECT_EQ(zt::CountOf(result.output, "Terminating"), 1) << result.output;
    EXPECT_FALSE(left) << "a copy still ran when the run ended";
    EXPECT_TRUE(usersRuns) << "phase 7 ended the copy that ran before the run";
    // Three copies (the first, its twin, the restarted one), each at High, each to its end.
    const std::string saw = zt::ReadFileBytes(report);
    EXPECT_EQ(zt::CountOf(saw, "priority=0x80"), 3) << saw;
    EXPECT_EQ(zt::CountOf(saw, "end=time"), 3) << saw;
}
