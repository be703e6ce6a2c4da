// Phases 2 and 9 together: which programs are started again, from which path, and how the
// not-running list and the thread batches behave with many entries. Also the Windows 9x
// name handling and the NT 4.0 process walk, through copies of zephrun.exe for which Wine
// reports those versions.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/program_fixture.h"
#include "support/wine_harness.h"

namespace {

std::string Terminating(const std::string& name) { return "\r\nTerminating " + name + "..."; }
std::string Restarting(const std::string& name, const std::string& path)
{
    return "\r\nRestarting " + name + " at " + path;
}

class ProgramRestart : public ::testing::Test {
protected:
    std::string Program(const std::string& name, const std::string& folder = std::string())
    {
        return zt::CopyBinaryAs("fixture_window.exe", folder.empty() ? m_folder.Path() : folder, name);
    }

    std::string Run(const std::vector<std::string>& programs, const std::string& controller = std::string(),
                    const std::vector<std::string>& configuration = {"nonresponse=10"})
    {
        m_profile = m_folder.File("restart.ini");
        zt::WriteFileBytes(m_profile, zt::ProgramsProfile(configuration, programs));
        return zt::WithPhase2Sorted(zt::RunProfile(m_profile, controller));
    }

    std::string Expected(const std::vector<std::string>& phase2, const std::vector<std::string>& phase9,
                         bool windows9x = false)
    {
        return zt::Transcript(zt::RunMessages(m_profile, zt::Sorted(phase2), phase9, windows9x));
    }

    zt::TempFolder m_folder;
    std::string m_profile;
};

// Only a "Stop & Restart" program that was running is started again, from exactly its stored
// path: that path has a blank in it, and a Program.exe beside the folder "Program Files"
// would be started instead if the path were handed over unquoted.
TEST_F(ProgramRestart, RunningStopAndRestartProgramStartsAgainFromItsPath)
{
    zt::ProcessCleanup cleanup(
        {"prog_rs_run.exe", "prog_rs_idle.exe", "prog_rs_stop.exe", "prog_rs_keep.exe", "Program.exe"});
    const std::string programFiles = m_folder.File("Program Files");
    ASSERT_TRUE(CreateDirectoryA(programFiles.c_str(), nullptr));
    Program("Program.exe");
    const std::string runPath = Program("prog_rs_run.exe", programFiles);
    const std::string idlePath = Program("prog_rs_idle.exe", programFiles);
    const std::string stopPath = Program("prog_rs_stop.exe", programFiles);
    const std::string keepPath = Program("prog_rs_keep.exe", programFiles);
    zt::FixtureProgram running(runPath, "");
    zt::FixtureProgram stopped(stopPath, "");
    zt::FixtureProgram kept(keepPath, "");

    const std::string output =
        Run({"prog_rs_run.exe=Stop & Restart|" + runPath, "prog_rs_idle.exe=Stop & Restart|" + idlePath,
             "prog_rs_stop.exe=Stop|" + stopPath, "prog_rs_keep.exe=No Action|" + keepPath});

    EXPECT_EQ(output, Expected({Terminating("prog_rs_run.exe"), Terminating("prog_rs_stop.exe")},
                               {Restarting("prog_rs_run.exe", runPath)}));
    EXPECT_EQ(running.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_EQ(stopped.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_TRUE(kept.Running());

    const std::vector<DWORD> restarted = zt::FindProcesses("prog_rs_run.exe");
    ASSERT_EQ(restarted.size(), 1u);
    EXPECT_NE(restarted[0], running.Id());
    EXPECT_TRUE(zt::FindProcesses("prog_rs_idle.exe").empty());
    EXPECT_TRUE(zt::FindProcesses("prog_rs_stop.exe").empty());
    EXPECT_TRUE(zt::FindProcesses("Program.exe").empty());
}

// Two keys differing only in case are one entry in phase 9 too: one instance is started.
TEST_F(ProgramRestart, KeysDifferingOnlyInCaseRestartOnce)
{
    zt::ProcessCleanup cleanup({"prog_rs_case.exe"});
    const std::string path = Program("prog_rs_case.exe");
    zt::FixtureProgram running(path, "");

    const std::string output =
        Run({"prog_rs_case.exe=Stop & Restart|" + path, "Prog_RS_Case.exe=Stop & Restart|" + path});

    EXPECT_EQ(output, Expected({Terminating("prog_rs_case.exe")}, {Restarting("prog_rs_case.exe", path)}));
    EXPECT_EQ(zt::FindProcesses("prog_rs_case.exe").size(), 1u);
}

// More entries than one batch of 47 threads: 49 running programs are all ended, and none of
// 70 "Stop & Restart" programs that were not running (more than 64) is started in phase 9,
// though each names an existing program of its own.
TEST_F(ProgramRestart, ManyEntriesAllEndAndManyAbsentOnesStayAbsent)
{
    constexpr int kRunning = 49;
    constexpr int kAbsent = 70;
    std::vector<std::string> names;
    std::vector<std::string> programs;
    std::vector<std::string> phase2;
    char name[64];
    for (int i = 0; i < kRunning; ++i) {
        std::snprintf(name, sizeof name, "prog_rs_many_%02d.exe", i);
        names.push_back(name);
    }
    for (int i = 0; i < kAbsent; ++i) {
        std::snprintf(name, sizeof name, "prog_rs_absent_%02d.exe", i);
        names.push_back(name);
    }
    zt::ProcessCleanup cleanup(names);

    std::vector<std::unique_ptr<zt::FixtureProgram>> running;
    for (int i = 0; i < kRunning + kAbsent; ++i) {
        const std::string path = Program(names[i]);
        if (i < kRunning) {
            running.emplace_back(new zt::FixtureProgram(path, "--no-window"));
            programs.push_back(names[i] + "=Stop|" + path);
            phase2.push_back(Terminating(names[i]));
        } else {
            programs.push_back(names[i] + "=Stop & Restart|" + path);
        }
    }

    const std::string output = Run(programs);

    EXPECT_EQ(output, Expected(phase2, {}));
    for (int i = 0; i < kRunning; ++i)
        EXPECT_EQ(running[i]->ExitCode(), 0u) << names[i];
    for (const std::string& program : names)
        EXPECT_TRUE(zt::FindProcesses(program).empty()) << program;
}

// With Windows 98 reported, phases 3 and 8 are skipped and programs are still found by name.
TEST_F(ProgramRestart, Windows98StopsAndRestartsByFileName)
{
    zt::ProcessCleanup cleanup({"prog_rs_w98.exe"});
    const std::string controller = zt::CopyBinaryAs("zephrun.exe", m_folder.Path(), "prog_rs_zephrun98.exe");
    zt::ScopedWineVersion version("prog_rs_zephrun98.exe", "win98");
    const std::string path = Program("prog_rs_w98.exe");
    zt::FixtureProgram running(path, "");

    const std::string output = Run({"prog_rs_w98.exe=Stop & Restart|" + path}, controller);

    EXPECT_EQ(output,
              Expected({Terminating("prog_rs_w98.exe")}, {Restarting("prog_rs_w98.exe", path)}, true));
    EXPECT_EQ(running.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_EQ(zt::FindProcesses("prog_rs_w98.exe").size(), 1u);
}

// With Windows NT 4.0 reported the walk goes through PSAPI, whose names are full paths, so a
// [Programs] key never matches: the program keeps running and counts as not running.
TEST_F(ProgramRestart, WindowsNt4ProcessNamesAreFullPathsAndMatchNoKey)
{
    zt::ProcessCleanup cleanup({"prog_rs_nt4.exe"});
    const std::string controller = zt::CopyBinaryAs("zephrun.exe", m_folder.Path(), "prog_rs_zephrun4.exe");
    zt::ScopedWineVersion version("prog_rs_zephrun4.exe", "nt40");
    const std::string path = Program("prog_rs_nt4.exe");
    zt::FixtureProgram running(path, "");

    const std::string output = Run({"prog_rs_nt4.exe=Stop & Restart|" + path}, controller);

    EXPECT_EQ(output, Expected({}, {}));
    EXPECT_TRUE(running.Running());
    EXPECT_EQ(zt::FindProcesses("prog_rs_nt4.exe").size(), 1u);

    // Without PSAPI.DLL there is no process list: each phase says so, and the program does not
    // count as not running (phase 9 looks again).
    zt::ScopedDllDisabled psapi("prog_rs_zephrun4.exe", "psapi");
    const std::string unlisted = "\r\nERROR: Unable to list the running programs - prog_rs_nt4.exe not ";
    EXPECT_EQ(Run({"prog_rs_nt4.exe=Stop & Restart|" + path}, controller),
              Expected({unlisted + "stopped"}, {unlisted + "restarted"}));
}

// A stored value that starts with a quote is a command line of its own: the program in its
// quotes (a folder with a blank) starts with the value's arguments, instead of the whole value
// being put in quotes once more, and in its own folder (where its relative file name lands).
TEST_F(ProgramRestart, QuotedValueWithArgumentsStartsAsItIs)
{
    zt::ProcessCleanup cleanup({"prog_rs_quoted.exe"});
    const std::string blankFolder = m_folder.File("x y");
    ASSERT_TRUE(CreateDirectoryA(blankFolder.c_str(), nullptr));
    const std::string path = Program("prog_rs_quoted.exe", blankFolder);
    const std::string record = blankFolder + "\\quoted.txt";
    const std::string value = "\"" + path + "\" --record-shell-restart quoted.txt --exit";
    zt::FixtureProgram running(path, "");

    const std::string output = Run({"prog_rs_quoted.exe=Stop & Restart|" + value});

    EXPECT_EQ(output,
              Expected({Terminating("prog_rs_quoted.exe")}, {Restarting("prog_rs_quoted.exe", value)}));
    EXPECT_EQ(running.ExitCode(), zt::kFixtureClosedItself);
    // The restarted instance got its arguments: it recorded the value and ended by itself.
    EXPECT_FALSE(zt::WaitForFile(record).empty());
}

// A "Stop & Restart" program that runs when phase 9 comes is not started a second time. Wine
// cannot make a process that refuses to end, so here the program runs again because the main
// application (a launcher) started it anew; the phase 9 check is the same either way.
TEST_F(ProgramRestart, ProgramRunningAgainAtPhase9IsNotStartedTwice)
{
    zt::ProcessCleanup cleanup({"prog_rs_again.exe", "prog_rs_back.exe"});
    const std::string again = Program("prog_rs_again.exe");
    const std::string back = Program("prog_rs_back.exe");
    const std::string launcher =
        zt::CopyBinaryAs("fixture_launcher.exe", m_folder.Path(), "prog_rs_launch.exe");
    zt::FixtureProgram runningAgain(again, "");
    zt::FixtureProgram runningBack(back, "");

    const std::string output =
        Run({"prog_rs_again.exe=Stop & Restart|" + again, "prog_rs_back.exe=Stop & Restart|" + back},
            std::string(),
            {"fspath=" + launcher, "fscmdline=\"" + again + "\"", "autostartdelay=0", "nonresponse=10"});

    EXPECT_EQ(runningAgain.ExitCode(), zt::kFixtureClosedItself);
    EXPECT_EQ(runningBack.ExitCode(), zt::kFixtureClosedItself);
    const std::string ending = zt::TextMode(
        "\r\nPhase 9:  Restarting Programs"
        "\r\nWARNING: prog_rs_again.exe is still running - not restarted"
        + Restarting("prog_rs_back.exe", back) + "\r\nZephlaunch Control Program finished.\r\n");
    ASSERT_GE(output.size(), ending.size()) << output;
    EXPECT_EQ(output.substr(output.size() - ending.size()), ending) << output;
    EXPECT_EQ(zt::FindProcesses("prog_rs_again.exe").size(), 1u);
    EXPECT_EQ(zt::FindProcesses("prog_rs_back.exe").size(), 1u);
}

}  // namespace
