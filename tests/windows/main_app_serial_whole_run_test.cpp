// One run with all nine phases: a program and a service are stopped, memory is
// defragmented, the main application runs at its priority while they are stopped, the
// auto-start programs come and go, and everything is put back afterwards. Serial: it
// stops and starts the prefix's Print Spooler, which other tests use too. And the power
// plan and screen saver of runs with powerplan and keepawake (the session's screen saver is
// shared by every program).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/journal_support.h"
#include "support/run_profile.h"
#include "support/wine_harness.h"

namespace {

DWORD SpoolerState(bool start)
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr)
        return 0;
    SC_HANDLE service = OpenServiceA(manager, "Spooler", SERVICE_QUERY_STATUS | SERVICE_START);
    DWORD state = 0;
    if (service != nullptr) {
        if (start)
            StartServiceA(service, 0, nullptr);
        SERVICE_STATUS status;
        for (int i = 0; i < 100; ++i) {  // up to 10 s for a pending start to settle
            if (!QueryServiceStatus(service, &status))
                break;
            state = status.dwCurrentState;
            if (state != SERVICE_START_PENDING && state != SERVICE_STOP_PENDING)
                break;
            Sleep(100);
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return state;
}

}  // namespace

TEST(WholeRun, AllNinePhasesStopLaunchAndRestore)
{
    zt::TempFolder folder;
    const std::string controller = zt::CopyBinaryAs("zephrun.exe", folder.Path(), "maw_zephrun.exe");
    zt::ScopedWineVersion xp("maw_zephrun.exe", "winxp");
    const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maw_main.exe");
    const std::string program = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maw_prog.exe");
    const std::string gone = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maw_gone.exe");
    const std::string autoStart = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maw_auto.exe");
    const std::string signaller = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "maw_sig.exe");
    const std::string report = folder.File("main.txt");
    const std::string event = "zeph_maw_" + std::to_string(GetCurrentProcessId());

    ASSERT_EQ(SpoolerState(true), static_cast<DWORD>(SERVICE_RUNNING));
    HANDLE running = zt::StartProgram("\"" + program + "\" --seconds 120", folder.Path());
    ASSERT_NE(running, nullptr);
    for (int i = 0; i < 100 && zt::ReadFileBytes(program + ".report").empty(); ++i)
        Sleep(100);

    const std::string arguments = "--report " + report
                                  + " --query-service Spooler --query-process maw_prog.exe"
                                  + " --until-event " + event + " --seconds 90";
    const std::string profile = zt::WriteProfile(
      folder, "[Configuration]\r\nfspath=" + main + "\r\nfscmdline=" + arguments +
                  "\r\nfspriority=High\r\nautostartdelay=1\r\nprocidletasks=1\r\ndefragmem=1\r\nnonresponse=3\r\n"
                  "logging=1\r\n[AutoStart]\r\n" + autoStart + "=--seconds 90|1\r\n" + signaller + "=--signal " +
                  event + "|0\r\n[Programs]\r\nmaw_prog.exe=Stop & Restart|" + program +
                  "\r\nmaw_gone.exe=Stop & Restart|" + gone + "\r\n[Services]\r\nSpooler=Stop & Restart\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.controllerPath = controller;
    options.timeoutMs = 240000;
    const zt::RunResult result = zt::RunController({profile}, options);

    // Phase 9 restarts maw_prog.exe with no arguments: it reports a second start and ends.
    for (int i = 0; i < 100 && zt::CountOf(zt::ReadFileBytes(program + ".report"), "module=") < 2; ++i)
        Sleep(100);
    const DWORD spoolerAfter = SpoolerState(false);
    WaitForSingleObject(running, 5000);
    CloseHandle(running);
    zt::KillProcesses("maw_prog.exe");
    zt::KillProcesses("maw_auto.exe");
    ASSERT_FALSE(result.timedOut) << result.output;

    const std::string output = zt::NormalizeMemoryFigures(result.output);
    const std::vector<std::string> phase4 = zt::DefragPhaseMessages(result.output);
    const std::vector<std::string> phase5to7 = zt::MainAppPhases(
        main + " " + arguments, 1,
        zt::Join(zt::Join({"\r\nExecuting " + autoStart + " --seconds 90..."}, zt::Countdown(1)),
                 {"\r\nExecuting " + signaller + " --signal " + event + "..."}),
        {"\r\nTerminating maw_auto.exe..."});

    const std::vector<std::string> inOrder = {
        zt::Transcript(zt::StartupMessages(profile)),
        zt::TextMode("\r\nPhase 1: Forcing Idle tasks to execute."),
        zt::TextMode(
            "\r\nWARNING: This *may* take up to 15 minutes or more. Your hard drive will be active during "
            "this process."),
        zt::TextMode("\r\nERROR:  Unable to GetProcAddress - error code 127"),
        zt::TextMode("\r\nPhase 2:  Stopping Programs"),
        zt::TextMode("\r\nTerminating maw_prog.exe..."),
        zt::TextMode("\r\nPhase 3: Stopping Services"),
        zt::TextMode("\r\nStopping 'Print Spooler'..."),
        zt::Transcript(phase4),
        zt::TextMode(
            "\r\nFree physical memory at end: <bytes> bytes (<MB> MB)\r\nPhase 5: Starting Main Application"),
        zt::Transcript(phase5to7),
        zt::TextMode("\r\nPhase 8:  Restarting Services"),
        zt::TextMode("\r\nStarting 'Print Spooler'..."),
        zt::TextMode("\r\nPhase 9:  Restarting Programs"),
        zt::TextMode("\r\nRestarting maw_prog.exe at " + program),
        zt::TextMode("\r\nZephlaunch Control Program finished.\r\n")};
    EXPECT_EQ(zt::FirstMissingInOrder(output, inOrder), "") << output;
    EXPECT_EQ(output.find("ERROR", output.find("error code 127")), std::string::npos) << output;
    EXPECT_EQ(output.find("maw_gone"), std::string::npos);  // not running before: not restarted

    // While the main application ran: at its priority, program and service stopped.
    const std::string saw = zt::ReadFileBytes(report);
    EXPECT_EQ(zt::ReportValue(saw, "priority"), "0x80") << saw;
    EXPECT_EQ(zt::ReportValue(saw, "process"), "0") << saw;
    EXPECT_EQ(zt::ReportValue(saw, "service"), std::to_string(SERVICE_STOPPED)) << saw;
    EXPECT_EQ(zt::ReportValue(saw, "end"), "event") << saw;
    // Afterwards: all restored.
    EXPECT_EQ(zt::CountOf(zt::ReadFileBytes(program + ".report"), "module="), 2);
    EXPECT_EQ(spoolerAfter, static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_FALSE(zt::FileExists(gone + ".report"));
    EXPECT_TRUE(zt::FindProcesses("maw_auto.exe").empty());
}

// powerplan=1 and keepawake=1, through the stand-in powrprof.dll: the plan (or the scheme of
// Windows XP, found by its policy) and the screen saver are switched for the main application
// and put back, unless the user chose another plan meanwhile; no High performance plan, a
// battery and Windows 98 switch nothing and say why. The log holds the transcript.
TEST(WholeRun, PowerPlanAndKeepAwakeArePutBack)
{
    const bool screenSaverWas = zt::ScreenSaverActive();
    // One run: the stand-in's plans, the plan the user picks meanwhile, the power plan's line
    // before phase 5 starts the main application and in phase 8, the active plan then.
    auto check = [](const std::string& version, const std::string& plans, const std::string& changeTo,
                    const std::string& before, const std::string& after, const std::string& during,
                    const std::string& end) {
        SCOPED_TRACE(before);
        zt::TempFolder folder;
        zt::StandInPower power(folder, plans);
        zt::ScopedWineVersion windows("zp_zephrun.exe", version);
        const std::string main = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mpw_main.exe");
        const std::string event = "zeph_mpw_" + std::to_string(GetCurrentProcessId());
        const std::string profile = zt::WriteProfile(
            folder, "[Configuration]\r\nfspath=" + main + "\r\nfscmdline=--until-event " + event
                        + "\r\nautostartdelay=0\r\nlogging=1\r\npowerplan=1\r\nkeepawake=1\r\n");
        DeleteFileA(zt::BinPath("zephrun_log.txt").c_str());
        zt::SetScreenSaverActive(true);
        zt::BackgroundController run({profile}, folder.File("run.out"), power.controller);
        ASSERT_TRUE(run.WaitForOutput("Waiting for Main Application to finish")) << run.Output();
        const char* activeKey = version == "winxp" ? "ActiveScheme" : "Active";
        EXPECT_EQ(power.State(activeKey), during);
        EXPECT_FALSE(zt::ScreenSaverActive());
        if (!changeTo.empty())
            power.SetState("Active", changeTo);
        HANDLE done = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
        SetEvent(done);
        EXPECT_EQ(run.Finish(), 0u);
        CloseHandle(done);
        EXPECT_EQ(power.State(activeKey), end);
        EXPECT_TRUE(zt::ScreenSaverActive());

        zt::RunPhases phases;
        if (version == "win98")
            phases.phase3 = phases.phase8 = {"\r\n...skipping since OS is Windows 9x/ME"};
        phases.phase5to7 = zt::Join({before,
                                     "\r\nKeeping the computer awake and the display on while the Main "
                                     "Application runs",
                                     "\r\nScreen saver: off for the run"},
                                    zt::MainAppPhases(main + " --until-event " + event, 0));
        phases.phase5to7.push_back("\r\nScreen saver: on again");
        if (!after.empty())
            phases.phase8.insert(phases.phase8.begin(), after);
        const std::vector<std::string> expected = zt::WholeRunMessages(profile, phases);
        EXPECT_EQ(zt::NormalizeMemoryFigures(run.Output()), zt::Transcript(expected));
        EXPECT_EQ(zt::NormalizeMemoryFigures(zt::ReadFileBytes(zt::BinPath("zephrun_log.txt"))),
                  zt::WithoutBanner(expected));
    };
    const std::string some =
        std::string("[Plans]\r\n") + zt::kBalanced + "=Balanced\r\n" + zt::kPowerSaver + "=Power saver\r\n";
    const std::string state = std::string("[State]\r\nActive=") + zt::kBalanced + "\r\n";
    const std::string vista = some + state;
    const std::string plans = some + zt::kHighPerformance + "=High performance\r\n" + state;
    const std::string to = "\r\nSwitching the power plan from 'Balanced' to 'High performance'";
    const std::string back = "\r\nSwitching the power plan back from 'High performance' to 'Balanced'";
    check("win10", plans, "", to, back, zt::kHighPerformance, zt::kBalanced);
    check("win10", plans, zt::kPowerSaver, to,
          "\r\nPower plan: 'Power saver' was chosen during the run - kept, not switched back to 'Balanced'",
          zt::kHighPerformance, zt::kPowerSaver);
    check("win10", vista, "",
          "\r\nWARNING: This computer has no High performance power plan - left at 'Balanced'", "",
          zt::kBalanced, zt::kBalanced);
    check("win10", plans + "Battery=1\r\n", "",
          "\r\nPower plan: the computer runs on battery - left at 'Balanced', not switched to 'High "
          "performance'",
          "", zt::kBalanced, zt::kBalanced);
    // The "Always On" scheme is known by its policy, whatever its name.
    check("winxp",
          "[Schemes]\r\n0=Bureau|x\r\n1=Always On|x\r\n3=Toujours actif|A\r\n[State]\r\nActiveScheme=0\r\n",
          "", "\r\nSwitching the power plan from 'Bureau' to 'Toujours actif'",
          "\r\nSwitching the power plan back from 'Toujours actif' to 'Bureau'", "3", "0");
    check("win98", plans, "", "\r\nPower plan: this Windows has no power plans - nothing switched", "",
          zt::kBalanced, zt::kBalanced);
    zt::SetScreenSaverActive(screenSaverWas);
}
