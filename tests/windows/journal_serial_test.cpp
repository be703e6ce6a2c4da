// The run journal end to end: a run killed while the main application runs leaves a
// journal from which --restore brings back what it stopped; a journal of a live run is
// left alone; a writer killed at any moment leaves a whole journal; a dry run changes
// nothing. Serial: journals live in the one per-user settings folder, and a normal run
// of another test would restore a dead run's journal before these tests look at it.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "journal/journal_text.h"
#include "support/journal_support.h"
#include "support/program_fixture.h"
#include "support/test_services.h"
#include "support/wine_harness.h"

namespace {

struct Finished {
    std::string output;
    DWORD exitCode;
};

// Runs zephrun with the arguments to its end, output in a file (programs it restarts could
// hold a pipe open).
Finished RunToEnd(const std::vector<std::string>& args, const std::string& outputPath,
                  const std::string& controllerPath = "")
{
    zt::BackgroundController controller(args, outputPath, controllerPath);
    const DWORD code = controller.Finish();
    return {zt::NormalizeMemoryFigures(controller.Output()), code};
}

const std::string kBanner = std::string("\r\n") + zt::kBanner;
JournalRecord ReadJournal(const std::string& path, bool& complete)
{
    JournalRecord record;
    complete = ParseJournal(zt::ReadShared(path), record);
    return record;
}

class Journal : public ::testing::Test {
protected:
    void SetUp() override
    {
        // No journal of an earlier (failed) test may take part.
        for (const std::string& path : zt::JournalFiles())
            DeleteFileA(path.c_str());
        m_event = "zeph_journal_main_" + std::to_string(GetCurrentProcessId());
        m_mainApp = zt::CopyBinaryAs("fixture_mainapp.exe", m_folder.Path(), "zj_main.exe");
    }
    void TearDown() override
    {
        zt::KillProcesses("zj_main.exe");
        for (const std::string& path : zt::JournalFiles())
            DeleteFileA(path.c_str());
    }

    // A profile that stops the program and the service, starts an auto-start program, and
    // then waits in phase 6 until the main application's event is set.
    std::string Profile(const std::string& name, const std::vector<std::string>& programs,
                        const std::vector<std::string>& services,
                        const std::vector<std::string>& autoStart = {})
    {
        std::string text = "[Configuration]\r\nnonresponse=3\r\nautostartdelay=0\r\nfspath=" + m_mainApp
                           + "\r\nfscmdline=--until-event " + m_event + "\r\n[Programs]\r\n";
        for (const std::string& line : programs)
            text += line + "\r\n";
        text += "[Services]\r\n";
        for (const std::string& line : services)
            text += line + "\r\n";
        text += "[AutoStart]\r\n";
        for (const std::string& line : autoStart)
            text += line + "\r\n";
        const std::string path = m_folder.File(name);
        zt::WriteFileBytes(path, text);
        return path;
    }
    void EndMainApplication()
    {
        HANDLE event = CreateEventA(nullptr, TRUE, FALSE, m_event.c_str());
        ASSERT_NE(event, nullptr);
        SetEvent(event);
        CloseHandle(event);
    }

    zt::TempFolder m_folder;
    std::string m_event;
    std::string m_mainApp;
};

// A run killed after phase 5 leaves its journal; --restore starts the service and the
// program again, lists the auto-start program (which it leaves running) and deletes the
// journal; a second --restore has nothing to do.
TEST_F(Journal, KilledRunIsRestoredByRestoreOnce)
{
    zt::ProcessCleanup cleanup({"zj_prog.exe", "zj_stop.exe", "zj_auto.exe"});
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_prog.exe");
    const std::string stopOnly = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_stop.exe");
    const std::string autoStart = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_auto.exe");
    zt::FixtureProgram running(program, "");
    zt::FixtureProgram stopRunning(stopOnly, "");
    zt::FixtureService service("zj_svc", "prompt");
    zt::FixtureService stopService("zj_stopsvc", "prompt");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    ASSERT_EQ(stopService.Start(), static_cast<DWORD>(SERVICE_RUNNING));

    const std::string profile =
        Profile("killed.ini", {"zj_prog.exe=Stop & Restart|" + program, "zj_stop.exe=Stop|" + stopOnly},
                {service.Name() + "=Stop & Restart", stopService.Name() + "=Stop"}, {autoStart + "=|0"});
    {
        zt::BackgroundController run({profile}, m_folder.File("killed.out"));
        ASSERT_TRUE(run.WaitForOutput("Waiting for Main Application to finish")) << run.Output();
        run.Kill();
    }
    EXPECT_FALSE(running.Running());
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));

    const std::vector<std::string> journals = zt::JournalFiles();
    ASSERT_EQ(journals.size(), 1u);
    bool complete = false;
    const JournalRecord journal = ReadJournal(journals[0], complete);
    ASSERT_TRUE(complete) << zt::ReadFileBytes(journals[0]);
    EXPECT_EQ(journal.profilePath, profile);
    ASSERT_EQ(journal.programs.size(), 1u);  // "Stop" entries are not put back
    EXPECT_EQ(journal.programs[0].second, program);
    EXPECT_EQ(journal.services, std::vector<std::string>{service.Name()});
    ASSERT_EQ(journal.autoStarted.size(), 1u);
    const std::vector<DWORD> autoIds = zt::FindProcesses("zj_auto.exe");
    ASSERT_EQ(autoIds.size(), 1u);
    EXPECT_EQ(journal.autoStarted[0].second, autoIds[0]);

    const Finished restore = RunToEnd({"--restore"}, m_folder.File("restore.out"));
    char pid[16];
    std::snprintf(pid, sizeof pid, "%lu", journal.processId);
    const std::string expected = zt::Transcript({
        kBanner,
        "\r\nRestoring what the run of '" + profile + "' (process " + pid + ") stopped",
        "\r\nPhase 8:  Restarting Services",
        "\r\nStarting '" + service.DisplayName() + "'...",
        "\r\nPhase 9:  Restarting Programs",
        "\r\nRestarting zj_prog.exe at " + program,
        "\r\nWARNING: Auto-start programs of that run are still running; end them if not wanted:",
        "\r\n  " + autoStart + " (process " + std::to_string(autoIds[0]) + ")",
        "\r\nRestore finished.\r\n",
    });
    EXPECT_EQ(restore.output, expected);
    EXPECT_EQ(restore.exitCode, 0u);
    EXPECT_EQ(zt::WaitForServiceState(service.Name(), SERVICE_RUNNING), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(stopService.State(), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(zt::FindProcesses("zj_prog.exe").size(), 1u);
    EXPECT_TRUE(zt::FindProcesses("zj_stop.exe").empty());
    EXPECT_EQ(zt::FindProcesses("zj_auto.exe"), autoIds);  // listed, not ended
    EXPECT_TRUE(zt::JournalFiles().empty());

    const Finished again = RunToEnd({"/restore"}, m_folder.File("again.out"));
    EXPECT_EQ(again.output, zt::Transcript({kBanner, "\r\nNothing to restore.\r\n"}));
    EXPECT_EQ(again.exitCode, 0u);
    EXPECT_EQ(zt::FindProcesses("zj_prog.exe").size(), 1u);  // not started a second time
}

// The same cycle with the controller as Windows 98 runs it (zephrun_9x.exe): no delete
// sharing, no replacing rename, no local application-data folder from shell32. The journal
// still lies in that folder (shfolder.dll names it), is rewritten whole, and is restored.
TEST_F(Journal, KilledRunOnWindows98IsRestored)
{
    zt::ProcessCleanup cleanup({"zj_98.exe"});
    zt::ScopedWineVersion win98("zephrun_9x.exe", "win98");
    const std::string controller = zt::BinPath("zephrun_9x.exe");
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_98.exe");
    zt::FixtureProgram running(program, "");
    const std::string profile = Profile("98.ini", {"zj_98.exe=Stop & Restart|" + program}, {});
    {
        zt::BackgroundController run({profile}, m_folder.File("98.out"), controller);
        ASSERT_TRUE(run.WaitForOutput("Waiting for Main Application to finish")) << run.Output();
        run.Kill();
    }
    EXPECT_FALSE(running.Running());
    ASSERT_EQ(zt::JournalFiles().size(), 1u);
    const Finished restore = RunToEnd({"--restore"}, m_folder.File("98_restore.out"), controller);
    EXPECT_EQ(restore.exitCode, 0u) << restore.output;
    EXPECT_EQ(zt::FindProcesses("zj_98.exe").size(), 1u);
    EXPECT_TRUE(zt::JournalFiles().empty());
}

// A run with powerplan and keepawake, killed while the main application runs, leaves the plan
// it switched from and the screen saver in its journal; --restore puts both back. A journal
// plan that no longer exists is not replaced by another. The dry run says what would switch.
TEST_F(Journal, KilledRunsPowerPlanAndScreenSaverAreRestored)
{
    zt::StandInPower power(m_folder,
                           std::string("[Plans]\r\n") + zt::kBalanced + "=Balanced\r\n" + zt::kHighPerformance
                               + "=High performance\r\n[State]\r\nActive=" + zt::kBalanced + "\r\n");
    const bool screenSaverWas = zt::ScreenSaverActive();
    zt::SetScreenSaverActive(true);
    const std::string profile = m_folder.File("power.ini");
    zt::WriteFileBytes(profile, "[Configuration]\r\nautostartdelay=0\r\npowerplan=1\r\nkeepawake=1\r\nfspath="
                                    + m_mainApp + "\r\nfscmdline=--until-event " + m_event + "\r\n");
    const Finished dry = RunToEnd({"--dry-run", profile}, m_folder.File("dry.out"), power.controller);
    for (const char* line :
         {"\r\r\nWould switch the power plan from 'Balanced' to 'High performance', and back in phase 8",
          "\r\r\nWould turn the screen saver off for the run, and on again afterwards"})
        EXPECT_NE(dry.output.find(line), std::string::npos) << dry.output;
    EXPECT_EQ(power.State("Active"), zt::kBalanced);
    {
        zt::BackgroundController run({profile}, m_folder.File("power.out"), power.controller);
        ASSERT_TRUE(run.WaitForOutput("Waiting for Main Application to finish")) << run.Output();
        run.Kill();
    }
    EXPECT_EQ(power.State("Active"), zt::kHighPerformance);
    EXPECT_FALSE(zt::ScreenSaverActive());
    const std::vector<std::string> journals = zt::JournalFiles();
    ASSERT_EQ(journals.size(), 1u);
    bool complete = false;
    const JournalRecord journal = ReadJournal(journals[0], complete);
    ASSERT_TRUE(complete) << zt::ReadFileBytes(journals[0]);
    EXPECT_EQ(journal.powerPlan, zt::kBalanced);
    EXPECT_EQ(journal.runPowerPlan, zt::kHighPerformance);
    EXPECT_TRUE(journal.screenSaverOff);

    const std::string restoring = "\r\nRestoring what the run of '" + profile + "' (process "
                                  + std::to_string(journal.processId) + ") stopped";
    const Finished restore = RunToEnd({"--restore"}, m_folder.File("restore.out"), power.controller);
    EXPECT_EQ(restore.output,
              zt::Transcript({kBanner, restoring, "\r\nScreen saver: on again",
                              "\r\nSwitching the power plan back from 'High performance' to 'Balanced'",
                              "\r\nRestore finished.\r\n"}));
    EXPECT_EQ(power.State("Active"), zt::kBalanced);
    EXPECT_TRUE(zt::ScreenSaverActive());
    EXPECT_TRUE(zt::JournalFiles().empty());

    JournalRecord gone = journal;
    gone.screenSaverOff = false;
    gone.SetPowerPlans("0a0b0c0d-0000-0000-0000-000000000000", zt::kBalanced);
    zt::WriteFileBytes(journals[0], FormatJournal(gone));
    const Finished left = RunToEnd({"--restore"}, m_folder.File("gone.out"), power.controller);
    EXPECT_EQ(left.output,
              zt::Transcript({kBanner, restoring,
                              "\r\nWARNING: The power plan 0a0b0c0d-0000-0000-0000-000000000000 of "
                              "before the run no longer exists - left at 'Balanced'",
                              "\r\nRestore finished.\r\n"}));
    EXPECT_EQ(power.State("Active"), zt::kBalanced);
    zt::SetScreenSaverActive(screenSaverWas);
}

// Ctrl+Break during a run only says how a run ends. A console closed in phase 6, and a
// session that ends (WM_ENDSESSION to the run's hidden window), put back what the run
// stopped before the controller ends (and the journal goes).
TEST_F(Journal, ClosedConsoleOrEndedSessionRestoresWhatTheRunStopped)
{
    zt::ProcessCleanup cleanup({"zj_close.exe"});
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_close.exe");
    zt::FixtureService service("zj_closesvc", "prompt");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string profile = Profile("closed.ini", {"zj_close.exe=Stop & Restart|" + program},
                                        {service.Name() + "=Stop & Restart"});
    for (const bool sessionEnds : {false, true}) {
        SCOPED_TRACE(sessionEnds ? "WM_ENDSESSION" : "CTRL_CLOSE_EVENT");
        zt::KillProcesses("zj_close.exe");
        zt::FixtureProgram running(program, "");
        zt::BackgroundController run({profile}, m_folder.File("closed.out"));
        ASSERT_TRUE(run.WaitForOutput("Waiting for Main Application to finish")) << run.Output();
        ASSERT_TRUE(run.SendConsoleEvent(CTRL_BREAK_EVENT));
        ASSERT_TRUE(run.WaitForOutput("it ends when the main application ends")) << run.Output();
        EXPECT_FALSE(running.Running());
        EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_STOPPED));

        ASSERT_TRUE(sessionEnds ? run.EndSession() : run.SendConsoleEvent(CTRL_CLOSE_EVENT));
        EXPECT_NE(run.Finish(), static_cast<DWORD>(STILL_ACTIVE));
        const std::string output = run.Output();
        EXPECT_NE(output.find(zt::TextMode("\r\nWARNING: The run is being ended - putting back what it "
                                           "stopped...\r\nRestoring what the run of '"
                                           + profile + "'")),
                  std::string::npos)
            << output;
        EXPECT_EQ(output.find("Phase 8"), output.rfind("Phase 8")) << output;  // once, for the journal
        EXPECT_EQ(zt::WaitForServiceState(service.Name(), SERVICE_RUNNING),
                  static_cast<DWORD>(SERVICE_RUNNING));
        EXPECT_EQ(zt::FindProcesses("zj_close.exe").size(), 1u);
        EXPECT_TRUE(zt::JournalFiles().empty());
    }
}

// A console closed while a service is still stopping: the restore lets the stop finish and
// then starts the service (Windows refuses to start it before).
TEST_F(Journal, ClosedConsoleRestartsAServiceStillStopping)
{
    zt::FixtureService service("zj_slowsvc", "slow 10 500 2000");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    const std::string profile = Profile("slow.ini", {}, {service.Name() + "=Stop & Restart"});
    zt::BackgroundController run({profile}, m_folder.File("slow.out"));
    ASSERT_EQ(zt::WaitForServiceState(service.Name(), SERVICE_STOP_PENDING),
              static_cast<DWORD>(SERVICE_STOP_PENDING))
        << run.Output();
    ASSERT_TRUE(run.SendConsoleEvent(CTRL_CLOSE_EVENT));
    EXPECT_NE(run.Finish(), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(zt::WaitForServiceState(service.Name(), SERVICE_RUNNING), static_cast<DWORD>(SERVICE_RUNNING))
        << run.Output();
    EXPECT_TRUE(zt::JournalFiles().empty());
}

// A run that stops anything first restores the journal of a run that died (a warning line,
// then phase 8's and 9's messages for it) and then goes on with its own phases.
TEST_F(Journal, NormalRunRestoresDeadRunFirst)
{
    zt::ProcessCleanup cleanup({"zj_dead.exe", "zj_own.exe"});
    const std::string dead = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_dead.exe");
    const std::string own = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_own.exe");
    zt::FixtureService service("zj_deadsvc", "prompt");  // installed, stopped
    JournalRecord journal;
    journal.processId = zt::DeadProcessId();
    journal.startTime = 1;
    journal.profilePath = "C:\\old.ini";
    journal.AddProgram("zj_dead.exe", dead);
    journal.AddService(service.Name());
    // The dead run had zeroed the shell-restart value; the journal holds the one to write back.
    const long original = zt::ReadShellRestart();
    const DWORD shellValue = original <= 0 ? 1 : static_cast<DWORD>(original);  // never the 0 written below
    ASSERT_TRUE(zt::WriteShellRestart(0));
    journal.SetShellValue(shellValue);
    CreateDirectoryA(zt::JournalFolderPath().c_str(), nullptr);
    zt::WriteFileBytes(zt::JournalFolderPath() + "\\zephrun_journal.ini", FormatJournal(journal));

    zt::FixtureProgram ownRunning(own, "");
    const std::string profile = m_folder.File("own.ini");
    zt::WriteFileBytes(profile, zt::ProgramsProfile({"nonresponse=3"}, {"zj_own.exe=Stop|" + own}));
    const std::string output = zt::RunProfile(profile);

    std::vector<std::string> expected = zt::RunMessages(profile, {"\r\nTerminating zj_own.exe..."}, {});
    const std::vector<std::string> restore = {
        "\r\nWARNING: The run of 'C:\\old.ini' (process " + std::to_string(journal.processId)
            + ") did not finish. Restoring what it stopped...",
        "\r\nPhase 8:  Restarting Services",
        "\r\nStarting '" + service.DisplayName() + "'...",
        "\r\nRestoring AutoRestartShell = " + std::to_string(shellValue),
        "\r\nPhase 9:  Restarting Programs",
        "\r\nRestarting zj_dead.exe at " + dead,
    };
    expected.insert(expected.begin() + 3, restore.begin(), restore.end());  // after the start-up lines
    EXPECT_EQ(output, zt::Transcript(expected));
    const long shellAfter = zt::ReadShellRestart();
    zt::WriteShellRestart(original);  // the prefix's value back, whatever happened
    EXPECT_EQ(shellAfter, static_cast<long>(shellValue));
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(zt::FindProcesses("zj_dead.exe").size(), 1u);
    EXPECT_FALSE(ownRunning.Running());
    EXPECT_TRUE(zt::JournalFiles().empty());
}

// What --restore finds besides a whole journal of this computer: one held open without read
// sharing is left alone, a malformed one is set aside as .bad, another computer's is
// ignored. A journal in the old (roaming) folder is restored once; what fails stays, moved
// to the local folder's first free slot, and --restore exits 1 until it is put back.
TEST_F(Journal, FailedRestoreKeepsWhatIsLeftAndLeavesForeignJournalsAlone)
{
    zt::ProcessCleanup cleanup({"zj_cwd.exe"});
    const std::string folder = zt::JournalFolderPath();
    const std::string oldFolder = zt::JournalFolderPath(true);
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA(oldFolder.c_str(), nullptr);
    const std::string cwdProgram = zt::CopyBinaryAs("fixture_mainapp.exe", m_folder.Path(), "zj_cwd.exe");
    JournalRecord dead;
    dead.processId = GetCurrentProcessId();  // running, but not since StartTime
    dead.startTime = 1;
    dead.profilePath = "C:\\old.ini";
    const std::string locked = folder + "\\zephrun_journal.ini";
    const std::string malformed = folder + "\\zephrun_journal_2.ini";
    const std::string foreign = folder + "\\zephrun_journal_3.ini";
    zt::WriteFileBytes(locked, FormatJournal(dead));
    zt::WriteFileBytes(malformed, "[Run]\r\nProcessId=12\r\n");
    JournalRecord other = dead;
    other.computer = "ZJ-ELSEWHERE";
    zt::WriteFileBytes(foreign, FormatJournal(other));
    JournalRecord roaming = dead;
    roaming.AddService("zj_nosvc");
    roaming.AddProgram("zj_cwd.exe", cwdProgram);
    const std::string gone = m_folder.File("zj_gone.exe");  // no such file
    roaming.AddProgram("zj_gone.exe", gone);
    roaming.AddProgram("zj_rel.exe", "zj_rel.exe");
    zt::WriteFileBytes(oldFolder + "\\zephrun_journal.ini", FormatJournal(roaming));
    // Held as a scanner might: reading by others refused, deleting allowed.
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    const Finished first = RunToEnd({"--restore"}, m_folder.File("first.out"));
    CloseHandle(holder);
    const std::string pid = std::to_string(dead.processId);
    EXPECT_EQ(
        first.output,
        zt::Transcript({
            kBanner,
            "\r\nWARNING: The run journal '" + locked + "' cannot be read now (error = 32) - left alone.",
            "\r\nWARNING: '" + malformed + "' is not a complete run journal - set aside as '" + malformed
                + ".bad'.",
            "\r\nThe run journal '" + foreign + "' belongs to the computer 'ZJ-ELSEWHERE' - ignored here.",
            "\r\nRestoring what the run of 'C:\\old.ini' (process " + pid + ") stopped",
            "\r\nPhase 8:  Restarting Services",
            "\r\nERROR: Unable to open Service 'zj_nosvc', error = 1060",
            "\r\nPhase 9:  Restarting Programs",
            "\r\nRestarting zj_cwd.exe at " + cwdProgram,
            "\r\nRestarting zj_gone.exe at " + gone,
            "\r\nERROR: Unable to restart zj_gone.exe, error = 2",
            "\r\nERROR: 'zj_rel.exe' is not the full path of a program - zj_rel.exe not restarted",
            "\r\nWARNING: What could not be restored stays in the run journal '" + malformed + "'.",
            "\r\nRestore finished, but not everything could be restored.\r\n",
        }));
    EXPECT_EQ(first.exitCode, 1u);
    EXPECT_EQ(zt::ReadFileBytes(locked), FormatJournal(dead));
    EXPECT_EQ(zt::ReadFileBytes(malformed + ".bad"), "[Run]\r\nProcessId=12\r\n");
    EXPECT_EQ(zt::ReadFileBytes(foreign), FormatJournal(other));
    EXPECT_TRUE(zt::JournalFiles(true).empty());
    // Started in its own folder (a copy of the main-application fixture reports it).
    std::string report;
    for (int waited = 0; waited < 10000 && report.find("\nend=") == std::string::npos; waited += 50) {
        Sleep(50);
        report = zt::ReadShared(cwdProgram + ".report");
    }
    EXPECT_NE(report.find("cwd=" + m_folder.Path() + "\n"), std::string::npos) << report;

    // The next --restore tries the rest again and keeps it again.
    JournalRecord left = dead;
    left.AddService("zj_nosvc");
    left.AddProgram("zj_gone.exe", gone);
    EXPECT_EQ(zt::ReadFileBytes(malformed), FormatJournal(left));
    const Finished second = RunToEnd({"--restore"}, m_folder.File("second.out"));
    EXPECT_EQ(second.exitCode, 1u);
    EXPECT_EQ(zt::ReadFileBytes(malformed), FormatJournal(left));
    // A restore lock this user cannot open (as an elevated run's was): nothing is restored.
    SECURITY_DESCRIPTOR closed;
    InitializeSecurityDescriptor(&closed, SECURITY_DESCRIPTOR_REVISION);
    ACL empty;
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetSecurityDescriptorDacl(&closed, TRUE, &empty, FALSE);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, &closed, FALSE};
    HANDLE lock = CreateMutexA(&attributes, TRUE, "ZephrunJournalRestore");
    const Finished busy = RunToEnd({"--restore"}, m_folder.File("busy.out"));
    CloseHandle(lock);
    EXPECT_EQ(busy.output,
              zt::Transcript({kBanner,
                              "\r\nERROR: Another restore is running (its lock cannot be had, error = "
                              "5) - nothing is restored now."}));
    EXPECT_EQ(busy.exitCode, 1u);
    EXPECT_EQ(zt::ReadFileBytes(malformed), FormatJournal(left));
    EXPECT_FALSE(zt::FileExists(locked));  // readable now: an empty journal of a dead run
    DeleteFileA(foreign.c_str());
    DeleteFileA((malformed + ".bad").c_str());
}

// A journal whose run is alive is left alone by --restore and by a second run (which keeps
// a journal of its own beside it and prints nothing extra); the live run then ends normally
// and deletes its journal.
TEST_F(Journal, LiveRunsJournalIsNotTouched)
{
    zt::ProcessCleanup cleanup({"zj_live.exe", "zj_other.exe"});
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_live.exe");
    const std::string other = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_other.exe");
    zt::FixtureProgram running(program, "");
    const std::string profile = Profile("live.ini", {"zj_live.exe=Stop & Restart|" + program}, {});

    zt::BackgroundController live({profile}, m_folder.File("live.out"));
    ASSERT_TRUE(live.WaitForOutput("Waiting for Main Application to finish")) << live.Output();
    std::vector<std::string> journals = zt::JournalFiles();
    ASSERT_EQ(journals.size(), 1u);
    const std::string liveJournal = zt::ReadFileBytes(journals[0]);
    bool complete = false;
    const JournalRecord record = ReadJournal(journals[0], complete);
    ASSERT_TRUE(complete);

    const Finished restore = RunToEnd({"--restore"}, m_folder.File("restore.out"));
    EXPECT_EQ(restore.output,
              zt::Transcript({kBanner,
                              "\r\nThe run of '" + profile + "' (process " + std::to_string(record.processId)
                                  + ") is still in progress - its journal is left alone.",
                              "\r\nNothing to restore.\r\n"}));
    EXPECT_EQ(restore.exitCode, 0u);
    EXPECT_TRUE(zt::FindProcesses("zj_live.exe").empty());  // not restarted under the live run

    // A second, ordinary run: its transcript has no journal lines at all.
    zt::FixtureProgram otherRunning(other, "");
    const std::string secondProfile = m_folder.File("second.ini");
    zt::WriteFileBytes(secondProfile, zt::ProgramsProfile({"nonresponse=3"}, {"zj_other.exe=Stop|" + other}));
    const std::string second = zt::RunProfile(secondProfile);
    EXPECT_EQ(second,
              zt::Transcript(zt::RunMessages(secondProfile, {"\r\nTerminating zj_other.exe..."}, {})));
    EXPECT_FALSE(otherRunning.Running());
    EXPECT_EQ(zt::ReadFileBytes(journals[0]), liveJournal);

    EndMainApplication();
    EXPECT_EQ(live.Finish(), 0u);
    EXPECT_NE(live.Output().find("\r\nRestarting zj_live.exe at " + program), std::string::npos)
        << live.Output();
    EXPECT_TRUE(zt::JournalFiles().empty());
}

// The journal is rewritten while phase 2 stops many programs. Killed at any moment (as soon
// as the journal lists a program, once the first program is gone, once all are gone), the
// writer leaves a whole journal that lists every program it ended, and --restore puts
// all of those back.
TEST_F(Journal, WriterKilledBetweenWritesLeavesReadableJournal)
{
    const int kPrograms = 12;
    std::vector<std::string> names;
    std::vector<std::string> entries;
    for (int i = 0; i < kPrograms; ++i) {
        names.push_back("zj_many" + std::to_string(i) + ".exe");
        const std::string path = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), names.back());
        entries.push_back(names.back() + "=Stop & Restart|" + path);
    }
    zt::ProcessCleanup cleanup(names);
    const std::string profile = Profile("many.ini", entries, {});
    CreateDirectoryA(zt::JournalFolderPath().c_str(), nullptr);

    enum Moment { FirstListed, FirstEnded, AllEnded };
    for (Moment moment : {FirstListed, FirstEnded, AllEnded}) {
        std::vector<std::unique_ptr<zt::FixtureProgram>> programs;
        std::vector<HANDLE> handles;
        for (int i = 0; i < kPrograms; ++i) {
            // Ignores WM_CLOSE, so that each is terminated after the close wait: phase 2 takes a while.
            programs.push_back(
                std::make_unique<zt::FixtureProgram>(m_folder.File(names[i]), "--ignore-close"));
            handles.push_back(programs.back()->Handle());
        }
        {
            HANDLE watch =
                FindFirstChangeNotificationA(zt::JournalFolderPath().c_str(), FALSE,
                                             FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
            ASSERT_NE(watch, INVALID_HANDLE_VALUE);
            zt::BackgroundController run({profile}, m_folder.File("many.out"));
            if (moment == FirstListed) {
                for (bool whole = false; run.Running(); FindNextChangeNotification(watch)) {
                    const std::vector<std::string> files = zt::JournalFiles();
                    if (!files.empty() && !ReadJournal(files[0], whole).programs.empty())
                        break;
                    WaitForSingleObject(watch, 1000);
                }
            } else {
                WaitForMultipleObjects(kPrograms, handles.data(), moment == AllEnded, 60000);
            }
            FindCloseChangeNotification(watch);
            run.Kill();
        }
        const std::vector<std::string> journals = zt::JournalFiles();
        ASSERT_EQ(journals.size(), 1u) << "moment " << moment;
        bool complete = false;
        const JournalRecord journal = ReadJournal(journals[0], complete);
        ASSERT_TRUE(complete) << "moment " << moment << "\n" << zt::ReadFileBytes(journals[0]);
        std::vector<std::string> ended;
        for (int i = 0; i < kPrograms; ++i) {
            if (!programs[i]->Running())
                ended.push_back(names[i]);
        }
        if (moment != FirstListed) {
            ASSERT_FALSE(ended.empty()) << "moment " << moment;
        }
        // Every program that is gone is listed (it was written before it was ended).
        for (const std::string& name : ended) {
            bool listed = false;
            for (const auto& program : journal.programs)
                listed = listed || program.first == name;
            EXPECT_TRUE(listed) << name << " moment " << moment << "\n" << zt::ReadFileBytes(journals[0]);
        }

        const Finished restore = RunToEnd({"--restore"}, m_folder.File("many_restore.out"));
        EXPECT_EQ(restore.exitCode, 0u) << restore.output;
        for (const std::string& name : ended)
            EXPECT_EQ(zt::FindProcesses(name).size(), 1u) << name << " moment " << moment;
        EXPECT_TRUE(zt::JournalFiles().empty());
        EXPECT_FALSE(zt::FileExists(journals[0] + ".new"));
        for (const std::string& name : names)
            zt::KillProcesses(name);
    }
}

// A dry run describes the run and changes nothing: the program and the service keep
// running, and neither a journal nor a log file is written (the folders are watched).
TEST_F(Journal, DryRunDescribesAndChangesNothing)
{
    zt::ProcessCleanup cleanup({"zj_dry.exe", "zj_dryauto.exe"});
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_dry.exe");
    const std::string autoStart = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zj_dryauto.exe");
    zt::FixtureProgram running(program, "");
    zt::FixtureService service("zj_drysvc", "prompt");
    zt::FixtureService stopped("zj_drystopped", "prompt");
    ASSERT_EQ(service.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    zt::FixtureService dependent("zj_drydep", "prompt", {service.Name()});
    ASSERT_EQ(dependent.Start(), static_cast<DWORD>(SERVICE_RUNNING));
    const long shellValue = zt::ReadShellRestart();
    // A dead run's journal: the preview says what a real run would restore first.
    JournalRecord pending;
    pending.processId = GetCurrentProcessId();  // ours now: that run has ended
    pending.AddService("zj_pending");
    pending.SetShellValue(1);
    pending.AddProgram("zj_p.exe", "C:\\p\\zj_p.exe");
    CreateDirectoryA(zt::JournalFolderPath().c_str(), nullptr);
    zt::WriteFileBytes(zt::JournalFolderPath() + "\\zephrun_journal.ini", FormatJournal(pending));

    const std::string work = m_folder.File("work");
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
    const std::string profile = m_folder.File("dry.ini");
    zt::WriteFileBytes(
        profile, "[Configuration]\r\nlogging=1\r\npauseatend=1\r\nautostartdelay=5\r\nfspath=" + m_mainApp
                     + "\r\nfscmdline=-x\r\nfspriority=High\r\n[Programs]\r\nzj_dry.exe=Stop & Restart|"
                     + program + "\r\nzj_gone.exe=Stop|C:\\gone.exe\r\nservices.exe=Stop\r\n[Services]\r\n"
                     + service.Name() + "=Stop & Restart\r\n" + stopped.Name()
                     + "=Stop & Restart\r\nRpcSs=Stop\r\n[AutoStart]\r\n" + autoStart
                     + "=-q|3\r\nC:\\windows\\explorer.exe=|0\r\n");
    const std::string journalFolder = zt::JournalFolderPath();
    HANDLE journalWatch = FindFirstChangeNotificationA(
        journalFolder.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
    HANDLE workWatch = FindFirstChangeNotificationA(
        work.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
    ASSERT_NE(journalWatch, INVALID_HANDLE_VALUE);
    ASSERT_NE(workWatch, INVALID_HANDLE_VALUE);

    zt::RunOptions options;
    options.workDir = work;
    const zt::RunResult result = zt::RunController({"--dry-run", profile}, options);
    const bool journalFolderChanged = WaitForSingleObject(journalWatch, 500) == WAIT_OBJECT_0;
    const bool workChanged = WaitForSingleObject(workWatch, 0) == WAIT_OBJECT_0;
    FindCloseChangeNotification(journalWatch);
    FindCloseChangeNotification(workWatch);

    std::vector<std::string> expected = zt::StartupMessages(profile);
    const std::vector<std::string> rest = {
        "\r\nDry run: nothing is stopped, started or written.",
        "\r\nWARNING: A previous run did not finish; a real run first restores what it stopped:",
        "\r\nWould start 'zj_pending'",
        "\r\nWould write AutoRestartShell = 1 back",
        "\r\nWould restart zj_p.exe at C:\\p\\zj_p.exe",
        "\r\nPhase 1: Forcing Idle tasks to execute.",
        "\r\nWould skip: not enabled",
        "\r\nPhase 2:  Stopping Programs",
        "\r\nWould close zj_dry.exe (process " + std::to_string(running.Id()) + ") and restart it afterwards",
        "\r\nzj_gone.exe is not running - nothing to do",
        "\r\nWARNING: 'services.exe' is needed by Windows and is never stopped.",
        "\r\nPhase 3: Stopping Services",
        "\r\nWould stop '" + service.DisplayName() + "' (running) and start it again afterwards",
        "\r\n  and first '" + dependent.DisplayName() + "', which depends on it",
        "\r\n'" + stopped.DisplayName() + "' is already stopped - left alone",
        "\r\nWARNING: 'RpcSs' is needed by Windows and is never stopped.",
        "\r\nPhase 4: Defragmenting memory...skipping",
        "\r\nPhase 5: Starting Main Application",
        "\r\nWould start " + m_mainApp + " -x",
        "\r\n  in folder " + m_folder.Path(),
        "\r\nWould wait 5 seconds for it to finish starting",
        "\r\nWould set the Main Application's priority to High",
        "\r\nPhase 6:  Auto Starting Programs",
        "\r\nWould execute " + autoStart + " -q, then wait 3 seconds",
        "\r\nWould execute C:\\windows\\explorer.exe , then wait 0 seconds",
        "\r\nWould wait for the Main Application to finish",
        "\r\nPhase 7:  Stopping programs that were auto started",
        "\r\nWould end zj_dryauto.exe",
        "\r\nWould end explorer.exe",
        "\r\nWould set AutoRestartShell to 0 while the shell is ended, and back to "
            + std::to_string(shellValue < 0 ? 1 : shellValue) + " at the end",  // missing: the default
        "\r\nPhase 8:  Restarting Services",
        "\r\nWould start '" + service.DisplayName() + "'",
        "\r\nWould start '" + dependent.DisplayName() + "'",
        "\r\nPhase 9:  Restarting Programs",
        "\r\nWould restart zj_dry.exe at " + program,
        "\r\nWould wait for a key at the end",
        "\r\nDry run finished: nothing was changed.\r\n",
    };
    expected.insert(expected.end(), rest.begin(), rest.end());
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(expected));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_TRUE(running.Running());
    EXPECT_EQ(service.State(), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_TRUE(zt::FindProcesses("zj_main.exe").empty());
    EXPECT_TRUE(zt::FindProcesses("zj_dryauto.exe").empty());
    EXPECT_FALSE(journalFolderChanged) << "the journal folder was written to";
    EXPECT_FALSE(workChanged) << "a file was written in the working folder";
    EXPECT_FALSE(zt::FileExists(work + "\\zephrun_log.txt"));

    // A missing profile ends a dry run at once: no key is waited for.
    options.withConsole = true;
    options.timeoutMs = 20000;
    const zt::RunResult missing = zt::RunController({"--dry-run", m_folder.File("missing.ini")}, options);
    EXPECT_FALSE(missing.timedOut) << missing.output;
    EXPECT_EQ(missing.output.find("Press any key"), std::string::npos);
}

}  // namespace
