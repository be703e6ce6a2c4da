// Phase 2 end to end: zephrun.exe ends real fixture programs (copies of fixture_window.exe
// under names of this test's own) and the whole console transcript is compared.
// Runs with or without a display (the fixtures keep their windows hidden).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controller/program_terminator.h"
#include "service_direct/captured_log.h"
#include "support/program_fixture.h"
#include "support/wine_harness.h"

namespace {

std::string Terminating(const std::string& name) { return "\r\nTerminating " + name + "..."; }

class ProgramStop : public ::testing::Test {
protected:
    // A copy of the fixture under name in this test's folder.
    std::string Program(const std::string& name)
    {
        return zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), name);
    }

    std::string Run(const std::vector<std::string>& configuration, const std::vector<std::string>& programs,
                    DWORD timeoutMs = 120000)
    {
        m_profile = m_folder.File("stop.ini");
        zt::WriteFileBytes(m_profile, zt::ProgramsProfile(configuration, programs));
        return zt::WithPhase2Sorted(zt::RunProfile(m_profile, std::string(), timeoutMs));
    }

    std::string Expected(const std::vector<std::string>& phase2, const std::vector<std::string>& phase9 = {})
    {
        return zt::Transcript(zt::RunMessages(m_profile, zt::Sorted(phase2), phase9));
    }

    zt::TempFolder m_folder;
    std::string m_profile;
};

// Polite programs close by themselves within nonresponse; one that ignores WM_CLOSE, and one
// that would close only after the nonresponse time, are terminated.
TEST_F(ProgramStop, ProgramsThatCloseInTimeAreNotTerminatedOthersAre)
{
    zt::ProcessCleanup cleanup({"prog_stop_polite.exe", "prog_stop_stubborn.exe", "prog_stop_slow.exe"});
    zt::FixtureProgram polite(Program("prog_stop_polite.exe"), "--close-delay 1500");
    zt::FixtureProgram stubborn(Program("prog_stop_stubborn.exe"), "--ignore-close");
    zt::FixtureProgram slow(Program("prog_stop_slow.exe"), "--close-delay 15000");

    const zt::Stopwatch watch;
    const std::string output =
        Run({"nonresponse=5"}, {"prog_stop_polite.exe=Stop|C:\\x\\prog_stop_polite.exe",
                                "prog_stop_stubborn.exe=Stop & Restart", "prog_stop_slow.exe=anything else"});
    const DWORD elapsed = watch.ElapsedMs();

    // The bare "Stop & Restart" (shorter than its path offset) restarts an empty path: the line
    // is printed and nothing is started.
    EXPECT_EQ(output, Expected({Terminating("prog_stop_polite.exe"), Terminating("prog_stop_stubborn.exe"),
                                Terminating("prog_stop_slow.exe")},
                               {"\r\nRestarting prog_stop_stubborn.exe at "}));
    EXPECT_EQ(polite.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_EQ(stubborn.ExitCode(), 0u);
    EXPECT_EQ(slow.ExitCode(), 0u);
    EXPECT_TRUE(zt::FindProcesses("prog_stop_stubborn.exe").empty());
    // The five seconds were given before the others were terminated.
    EXPECT_GE(elapsed, 5000u);
    EXPECT_LT(elapsed, 5000u + zt::kRunSlackMs);
}

// Without a nonresponse setting a program gets the default time to close (15 seconds, see
// the unit test of the defaults): one that needs 6 closes by itself.
TEST_F(ProgramStop, DefaultNonResponseLetsASlowProgramCloseItself)
{
    zt::ProcessCleanup cleanup({"prog_stop_six.exe"});
    zt::FixtureProgram six(Program("prog_stop_six.exe"), "--close-delay 6000");

    const zt::Stopwatch watch;
    const std::string output = Run({}, {"prog_stop_six.exe=Stop"});
    const DWORD elapsed = watch.ElapsedMs();

    EXPECT_EQ(output, Expected({Terminating("prog_stop_six.exe")}));
    EXPECT_EQ(six.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_GE(elapsed, 6000u);
    EXPECT_LT(elapsed, 6000u + zt::kRunSlackMs);
}

// A program without a window is terminated at once: with nonresponse at 900 seconds the run
// still ends long before the watchdog.
TEST_F(ProgramStop, WindowlessProgramIsTerminatedAtOnce)
{
    zt::ProcessCleanup cleanup({"prog_stop_nowin.exe"});
    zt::FixtureProgram windowless(Program("prog_stop_nowin.exe"), "--no-window");

    const std::string output =
        Run({"nonresponse=900"}, {"prog_stop_nowin.exe=Stop|C:\\prog_stop_nowin.exe"}, 60000);

    EXPECT_EQ(output, Expected({Terminating("prog_stop_nowin.exe")}));
    EXPECT_EQ(windowless.ExitCode(), 0u);
}

// nonresponse 0 still waits one second, long enough for a program that closes at once (without
// that wait it would be terminated before it could); a negative setting is read as 0 and does
// not wait forever.
TEST_F(ProgramStop, ZeroOrNegativeNonResponseStillWaitsOneSecond)
{
    zt::ProcessCleanup cleanup({"prog_stop_zero.exe", "prog_stop_zero_stubborn.exe"});
    {
        zt::FixtureProgram quick(Program("prog_stop_zero.exe"), "");
        zt::FixtureProgram stubborn(Program("prog_stop_zero_stubborn.exe"), "--ignore-close");
        const zt::Stopwatch watch;
        const std::string output =
            Run({"nonresponse=0"}, {"prog_stop_zero.exe=Stop", "prog_stop_zero_stubborn.exe=Stop"});
        // One second for the stubborn one, and no more.
        EXPECT_GE(watch.ElapsedMs(), 1000u);
        EXPECT_LT(watch.ElapsedMs(), 1000u + zt::kRunSlackMs);
        EXPECT_EQ(output,
                  Expected({Terminating("prog_stop_zero.exe"), Terminating("prog_stop_zero_stubborn.exe")}));
        EXPECT_EQ(quick.ExitCode(), zt::kFixtureClosedItself);
        EXPECT_EQ(stubborn.ExitCode(), 0u);
    }
    {
        zt::FixtureProgram quick(Program("prog_stop_zero.exe"), "");
        zt::FixtureProgram stubborn(Program("prog_stop_zero_stubborn.exe"), "--ignore-close");
        const std::string output =
            Run({"nonresponse=-7"}, {"prog_stop_zero.exe=Stop", "prog_stop_zero_stubborn.exe=Stop"}, 60000);
        EXPECT_EQ(output,
                  Expected({Terminating("prog_stop_zero.exe"), Terminating("prog_stop_zero_stubborn.exe")}));
        EXPECT_EQ(quick.ExitCode(), zt::kFixtureClosedItself);
        EXPECT_EQ(stubborn.ExitCode(), 0u);
    }
}

// Every instance is ended, one per pass, each after its own "Terminating" line.
TEST_F(ProgramStop, AllInstancesOfAProgramAreEnded)
{
    zt::ProcessCleanup cleanup({"prog_stop_three.exe"});
    const std::string path = Program("prog_stop_three.exe");
    zt::FixtureProgram first(path, "");
    zt::FixtureProgram second(path, "--close-delay 300");
    zt::FixtureProgram third(path, "--no-window");

    const std::string output = Run({"nonresponse=10"}, {"prog_stop_three.exe=Stop|" + path});

    const std::string line = Terminating("prog_stop_three.exe");
    EXPECT_EQ(output, Expected({line, line, line}));
    EXPECT_EQ(first.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_EQ(second.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_EQ(third.ExitCode(), 0u);
    EXPECT_TRUE(zt::FindProcesses("prog_stop_three.exe").empty());
}

// Two lines whose keys differ only in letter case are one entry: the program is ended by
// one thread, with one "Terminating" line (two threads would both find it while it closes).
TEST_F(ProgramStop, KeysDifferingOnlyInCaseAreOneEntry)
{
    zt::ProcessCleanup cleanup({"prog_stop_case.exe"});
    zt::FixtureProgram program(Program("prog_stop_case.exe"), "--close-delay 1500");

    const std::string output =
        Run({"nonresponse=10"}, {"prog_stop_case.exe=Stop", "PROG_STOP_CASE.EXE=Stop"});

    EXPECT_EQ(output, Expected({Terminating("prog_stop_case.exe")}));
    EXPECT_EQ(program.ExitCode(), zt::kFixtureClosedItself);
}

// "No Action" entries, whatever follows the action text, and programs that are not running
// print nothing; a running program of another name is left alone.
TEST_F(ProgramStop, NoActionAndAbsentProgramsAreLeftAlone)
{
    zt::ProcessCleanup cleanup({"prog_stop_keep.exe", "prog_stop_keep2.exe"});
    zt::FixtureProgram kept(Program("prog_stop_keep.exe"), "");
    zt::FixtureProgram keptToo(Program("prog_stop_keep2.exe"), "");

    const std::string output =
        Run({}, {"prog_stop_keep.exe=No Action|C:\\prog_stop_keep.exe", "prog_stop_keep2.exe=No Actionable",
                 "prog_stop_absent.exe=Stop|C:\\prog_stop_absent.exe"});

    EXPECT_EQ(output, Expected({}));
    EXPECT_TRUE(kept.Running());
    EXPECT_TRUE(keptToo.Running());
}

// Through the seam in front of OpenProcess (Wine grants every right): an elevated program
// refuses every right, a hardened one all but ending it. The walk goes on past the refusal.
DWORD g_elevatedId = 0;
HANDLE WINAPI StandInOpen(DWORD rights, BOOL inherit, DWORD processId)
{
    if (processId == g_elevatedId || (rights & ~(SYNCHRONIZE | PROCESS_TERMINATE)) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return OpenProcess(rights, inherit, processId);
}

TEST_F(ProgramStop, ARefusedInstanceIsPassedOverAndTheNextEnded)
{
    zt::ProcessCleanup cleanup({"prog_stop_rights.exe"});
    const std::string path = Program("prog_stop_rights.exe");
    zt::FixtureProgram elevated(path, "--no-window");
    zt::FixtureProgram hardened(path, "--no-window");
    g_elevatedId = elevated.Id();
    SetProcessOpen(&StandInOpen);
    ProgramTerminator terminator;
    std::snprintf(terminator.m_programName, sizeof terminator.m_programName, "prog_stop_rights.exe");
    int ended = 0;
    for (; ended < 3 && terminator.EnumerateProcesses() && terminator.m_handled; ++ended)
        terminator.m_handled = false;
    SetProcessOpen(nullptr);

    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(terminator.m_refused);
    EXPECT_EQ(hardened.ExitCode(), 0u);
    EXPECT_TRUE(elevated.Running());
    std::vector<zt::CapturedMessage> messages = zt::TakeCapturedMessages();
    std::sort(messages.begin(), messages.end());  // the walk's order is the system's
    EXPECT_EQ(messages,
              (std::vector<zt::CapturedMessage>{
                  {0, "\r\nTerminating prog_stop_rights.exe..."},
                  {3, "\r\nERROR opening process handle for program prog_stop_rights.exe: code 5"}}));
}

}  // namespace
