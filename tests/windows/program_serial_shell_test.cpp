// The shell (explorer.exe) in [Programs]: its automatic restart is switched off in the
// registry before it is ended and switched back on right before phase 9 starts it again.
// Wine's own desktop process is explorer.exe too, and every process of that name is ended:
// these tests run alone, keep AutoRestartShell at a known value while they run and put the
// original value back afterwards. Each adds two stand-in explorer.exe instances (copies of
// the fixture), one with a window whose exit code shows whether it was asked to close or
// terminated. Wine
// starts its desktop process again when a program needs it; windows keep working without
// it. Runs with or without a display.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/program_fixture.h"
#include "support/wine_harness.h"

namespace {

constexpr DWORD kKnownValue = 5;
using zt::ReadShellRestart;
using zt::WriteShellRestart;
constexpr REGSAM k32BitView = KEY_WOW64_32KEY;

class ProgramShell : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_originalValue = ReadShellRestart();
        ASSERT_TRUE(WriteShellRestart(kKnownValue));
        const std::string standInPath =
            zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "explorer.exe");
        m_standIn.reset(new zt::FixtureProgram(standInPath, ""));
        // A second instance: ending it must not save the 0 written when the first one ended.
        m_secondStandIn.reset(new zt::FixtureProgram(standInPath, "--no-window"));
        m_shells = zt::FindProcesses("explorer.exe");
    }
    void TearDown() override
    {
        m_standIn.reset();
        m_secondStandIn.reset();
        WriteShellRestart(m_originalValue);
    }

    // True once every explorer.exe that ran at the start has ended.
    bool ShellsEnded()
    {
        for (DWORD id : m_shells) {
            HANDLE shell = OpenProcess(SYNCHRONIZE, FALSE, id);
            if (shell == nullptr)
                continue;
            const bool ended = WaitForSingleObject(shell, 5000) == WAIT_OBJECT_0;
            CloseHandle(shell);
            if (!ended)
                return false;
        }
        return zt::FindProcesses("explorer.exe").empty();
    }

    std::string Run(const std::vector<std::string>& configuration, const std::vector<std::string>& programs,
                    const std::string& controller = std::string())
    {
        m_profile = m_folder.File("shell.ini");
        zt::WriteFileBytes(m_profile, zt::ProgramsProfile(configuration, programs));
        return zt::RunProfile(m_profile, controller);
    }

    zt::TempFolder m_folder;
    std::string m_profile;
    long m_originalValue = -1;
    std::unique_ptr<zt::FixtureProgram> m_standIn;
    std::unique_ptr<zt::FixtureProgram> m_secondStandIn;
    std::vector<DWORD> m_shells;
};

// "Stop": the shell is ended without WM_CLOSE and without a "Terminating" line, and the
// automatic restart, off while it was ended, is back at its earlier value after the run
// (without starting the shell).
TEST_F(ProgramShell, StopEndsTheShellAndPutsItsRestartBackAtTheEnd)
{
    const std::string output = Run({}, {"explorer.exe=Stop|C:\\windows\\explorer.exe"});

    EXPECT_EQ(output, zt::Transcript(zt::RunMessages(m_profile, {}, {})));
    EXPECT_TRUE(ShellsEnded());
    EXPECT_EQ(m_standIn->ExitCode(), 0u);  // terminated, not asked to close
    EXPECT_EQ(ReadShellRestart(), static_cast<long>(kKnownValue));
}

// "Stop & Restart": the restart is off while the main application runs and back at its
// earlier value when phase 9 starts the shell again (here a program that records the value
// it finds at its start, in place of the shell).
TEST_F(ProgramShell, StopAndRestartTurnsRestartOffForTheRunAndBackBeforeTheShellStarts)
{
    zt::ProcessCleanup cleanup({"prog_shell_main.exe", "prog_shell_again.exe"});
    const std::string mainApp =
        zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "prog_shell_main.exe");
    const std::string shell = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "prog_shell_again.exe");
    const std::string during = m_folder.File("during.txt");
    const std::string after = m_folder.File("after.txt");
    zt::WriteFileBytes(shell + ".options", "--record-shell-restart " + after + " --exit");

    const std::string output = Run(
        {"fspath=" + mainApp, "fscmdline=--record-shell-restart " + during + " --exit", "autostartdelay=0"},
        {"explorer.exe=Stop & Restart|" + shell});

    EXPECT_TRUE(ShellsEnded());
    EXPECT_EQ(m_standIn->ExitCode(), 0u);
    EXPECT_EQ(zt::ReadFileBytes(during), "0");
    EXPECT_EQ(zt::WaitForFile(after), std::to_string(kKnownValue));
    EXPECT_EQ(ReadShellRestart(), static_cast<long>(kKnownValue));
    // Phase 2 prints nothing for the shell; phase 9 announces its restart.
    EXPECT_NE(output.find(zt::TextMode("\r\nPhase 2:  Stopping Programs\r\nPhase 3: Stopping Services")),
              std::string::npos)
        << output;
    const std::string ending = zt::TextMode("\r\nPhase 9:  Restarting Programs\r\nRestarting explorer.exe at "
                                            + shell + "\r\nZephlaunch Control Program finished.\r\n");
    ASSERT_GE(output.size(), ending.size());
    EXPECT_EQ(output.substr(output.size() - ending.size()), ending);
}

// Without a main application phase 9 follows at once and still restores before it starts.
TEST_F(ProgramShell, StopAndRestartWithoutMainApplicationRestoresTheValue)
{
    zt::ProcessCleanup cleanup({"prog_shell_again2.exe"});
    const std::string shell =
        zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "prog_shell_again2.exe");
    const std::string after = m_folder.File("after2.txt");
    zt::WriteFileBytes(shell + ".options", "--record-shell-restart " + after + " --exit");

    const std::string output = Run({}, {"explorer.exe=Stop & Restart|" + shell});

    EXPECT_EQ(output,
              zt::Transcript(zt::RunMessages(m_profile, {}, {"\r\nRestarting explorer.exe at " + shell})));
    EXPECT_TRUE(ShellsEnded());
    EXPECT_EQ(zt::WaitForFile(after), std::to_string(kKnownValue));
    EXPECT_EQ(ReadShellRestart(), static_cast<long>(kKnownValue));
}

// A key written "Explorer.exe" is an ordinary program: asked to close, then terminated, and
// the restart setting is not touched.
TEST_F(ProgramShell, CapitalisedKeyGetsNoShellHandling)
{
    const std::string output = Run({"nonresponse=1"}, {"Explorer.exe=Stop"});

    // One line per instance: the stand-in and, when it ran, Wine's desktop process.
    const std::vector<std::string> lines(m_shells.size(), "\r\nTerminating Explorer.exe...");
    EXPECT_EQ(output, zt::Transcript(zt::RunMessages(m_profile, lines, {})));
    EXPECT_TRUE(ShellsEnded());
    EXPECT_EQ(m_standIn->ExitCode(), zt::kFixtureClosedItself);
    EXPECT_EQ(ReadShellRestart(), static_cast<long>(kKnownValue));
}

// The i686 controller on 64-bit Windows (WOW64) must switch the value the shell reads, in
// the 64-bit view; the 32-bit copy of the key (Wow6432Node) holds another value meanwhile
// and must be left as it was.
class ThirtyTwoBitShell : public ProgramShell {
protected:
    static constexpr long kOther32BitValue = 9;

    void SetUp() override
    {
        ProgramShell::SetUp();
        BOOL wow64 = FALSE;
        if (sizeof(void*) == 4 && !(IsWow64Process(GetCurrentProcess(), &wow64) && wow64)) {
            GTEST_SKIP() << "32-bit Windows: the registry has one view only";
        }
        m_controller = zt::I686ControllerPath();
        if (m_controller.empty())
            GTEST_SKIP() << "no i686 controller built (sh scripts/build.sh win32)";
        if (!zt::CanRunProgram(m_controller))
            GTEST_SKIP() << "32-bit programs do not run here (no 32-bit Wine)";
        // Wine's 64-bit prefixes have no 32-bit copy of the key until a 32-bit program makes
        // one; on Windows it is there. Made for the test, and removed again afterwards.
        HKEY key = nullptr;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, zt::kWinlogonKey, 0, nullptr, 0,
                                  KEY_SET_VALUE | k32BitView, nullptr, &key, &disposition),
                  ERROR_SUCCESS);
        RegCloseKey(key);
        m_created32 = disposition == REG_CREATED_NEW_KEY;
        m_original32 = ReadShellRestart(k32BitView);
        m_wrote32 = true;
        ASSERT_TRUE(WriteShellRestart(kOther32BitValue, k32BitView));
        if (ReadShellRestart() != static_cast<long>(kKnownValue))
            GTEST_SKIP() << "this system keeps one copy of the Winlogon key for both views";
    }
    void TearDown() override
    {
        if (m_wrote32)
            WriteShellRestart(m_original32, k32BitView);
        HKEY parent = nullptr;
        if (m_created32
            && RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                             KEY_ALL_ACCESS | k32BitView, &parent)
                   == ERROR_SUCCESS) {
            RegDeleteKeyA(parent, "Winlogon");
            RegCloseKey(parent);
        }
        ProgramShell::TearDown();
    }

    std::string m_controller;
    long m_original32 = -1;
    bool m_wrote32 = false;
    bool m_created32 = false;
};

TEST_F(ThirtyTwoBitShell, StopPutsBackTheValueTheShellReads)
{
    const std::string output = Run({}, {"explorer.exe=Stop|C:\\windows\\explorer.exe"}, m_controller);

    EXPECT_EQ(output, zt::Transcript(zt::RunMessages(m_profile, {}, {})));
    EXPECT_TRUE(ShellsEnded());
    EXPECT_EQ(ReadShellRestart(), static_cast<long>(kKnownValue));
    EXPECT_EQ(ReadShellRestart(k32BitView), kOther32BitValue);
}

// "Stop & Restart": off in the 64-bit view while the main application runs (which reads it
// there), and back at the 64-bit view's own earlier value when phase 9 starts the shell.
TEST_F(ThirtyTwoBitShell, StopAndRestartRestoresTheValueTheShellReads)
{
    zt::ProcessCleanup cleanup({"prog_wow_main.exe", "prog_wow_again.exe"});
    const std::string mainApp = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "prog_wow_main.exe");
    const std::string shell = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "prog_wow_again.exe");
    const std::string during = m_folder.File("during.txt");
    const std::string after = m_folder.File("after.txt");
    zt::WriteFileBytes(shell + ".options", "--record-shell-restart " + after + " --exit");

    const std::string output = Run(
        {"fspath=" + mainApp, "fscmdline=--record-shell-restart " + during + " --exit", "autostartdelay=0"},
        {"explorer.exe=Stop & Restart|" + shell}, m_controller);

    EXPECT_TRUE(ShellsEnded());
    EXPECT_EQ(zt::ReadFileBytes(during), "0");
    EXPECT_EQ(zt::WaitForFile(after), std::to_string(kKnownValue));
    EXPECT_EQ(ReadShellRestart(), static_cast<long>(kKnownValue));
    EXPECT_EQ(ReadShellRestart(k32BitView), kOther32BitValue);
    const std::string ending = zt::TextMode("\r\nPhase 9:  Restarting Programs\r\nRestarting explorer.exe at "
                                            + shell + "\r\nZephlaunch Control Program finished.\r\n");
    ASSERT_GE(output.size(), ending.size());
    EXPECT_EQ(output.substr(output.size() - ending.size()), ending);
}

}  // namespace
