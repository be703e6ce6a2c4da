// The run journal in the GUI: at start-up a journal left by a run that died brings up the
// restore question (Yes starts "zephrun.exe --restore", No leaves everything as it is),
// and Preview run shows the controller's dry run of the current profile.
#include "journal/journal_text.h"
#include "controller_launch.h"
#include "framework/shell_execute.h"
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kQuestion[] =
    "A previous Zephlaunch run did not finish. Restore the programs and services it stopped now?";
const char kMainTitle[] = "Zephlaunch - zephlaunch";

class RunJournal : public gt::FreshSettingsTest {
protected:
    void TearDown() override
    {
        zt::KillProcesses("gj_restore.exe");
        zt::KillProcesses("gj_preview.exe");
        FreshSettingsTest::TearDown();
    }

    // A journal of a dead run that stopped program (a copy of fixture_window.exe), and with
    // withShellValue the shell-restart value, written back unchanged.
    std::string WriteDeadRunJournal(const std::string& program, bool withShellValue = false)
    {
        JournalRecord record;
        record.processId = zt::DeadProcessId();
        record.startTime = 1;
        record.profilePath = gt::DefaultProfile();
        record.AddProgram("gj_restore.exe", program);
        const long shellValue = zt::ReadShellRestart();
        if (withShellValue)
            record.SetShellValue(shellValue < 0 ? 1 : static_cast<unsigned long>(shellValue));
        const std::string text = FormatJournal(record);
        zt::WriteFileBytes(m_journal, text);
        return text;
    }

    static void ExpectQuestion(const gt::GuiDriver& driver)
    {
        ASSERT_EQ(driver.MessageBoxes().size(), 1u);
        const gt::SeenMessageBox& box = driver.MessageBoxes()[0];
        EXPECT_EQ(box.caption, "Zephlaunch");
        EXPECT_EQ(box.text, kQuestion);
        EXPECT_EQ(box.icon, gt::BoxIcon::Question);
        EXPECT_TRUE(box.hasYesNo);
        EXPECT_FALSE(box.hasCancel);
    }

    zt::TempFolder m_folder;
    const std::string m_journal = gt::SettingsFolder() + "\\zephrun_journal.ini";
};

ShellExecuteRequest g_request;

HANDLE g_restoreThread = nullptr;
DWORD g_promptError = ERROR_SUCCESS;

// Instead of the shell's "runas" (or its declined prompt): the command line, started hidden and
// suspended until the GUI's "Restoring..." window has answered.
ShellExecuteOutcome RunWithoutElevation(const ShellExecuteRequest& request)
{
    g_request = request;
    ShellExecuteOutcome outcome;
    std::string line = "\"" + request.file + "\" " + request.parameters;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    outcome.ok =
        g_promptError == ERROR_SUCCESS
        && ::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                            nullptr, nullptr, &startup, &process);
    outcome.error = g_promptError;
    outcome.process = process.hProcess;
    g_restoreThread = process.hThread;
    return outcome;
}

ElevationState VistaNotElevated() { return {true, false}; }

// A second journal with the shell-restart value needs administrator rights: the restore runs
// through "runas" without a window, and its output and outcome are shown afterwards.
TEST_F(RunJournal, RestoreQuestionAnsweredYesRestoresTheRunAndShowsTheOutcome)
{
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "gj_restore.exe");
    WriteDeadRunJournal(program);
    const std::string second = gt::SettingsFolder() + "\\zephrun_journal_2.ini";
    JournalRecord shellOnly;
    shellOnly.processId = zt::DeadProcessId();
    shellOnly.SetShellValue(static_cast<unsigned long>(std::max(zt::ReadShellRestart(), 1L)));
    zt::WriteFileBytes(second, FormatJournal(shellOnly));
    SetElevationProbe(&VistaNotElevated);
    SetShellExecuteHandler(&RunWithoutElevation);
    g_promptError = ERROR_CANCELLED;  // first declined: nothing is restored, the question comes again
    {
        gt::GuiDriver declined;
        declined.Answer({IDYES, IDOK});
        declined.Step(kMainTitle, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
        declined.Start();
        gt::RunApplicationOnce();
        declined.StopAndExpectClean();
        ASSERT_EQ(declined.MessageBoxes().size(), 2u);
        EXPECT_EQ(declined.MessageBoxes()[1].text,
                  "The restore was cancelled: it was not allowed to run with "
                  "administrator rights. Zephlaunch offers it again at its next start.");
    }
    g_promptError = ERROR_SUCCESS;
    std::string shown;
    gt::GuiDriver driver;
    driver.Answer({IDYES});
    driver.Step("Restoring...", [](HWND) { ::ResumeThread(g_restoreThread); });
    driver.Step("Restore - succeeded", [&](HWND dialog) {
        char text[8192] = {};
        ::GetWindowTextA(gt::Item(dialog, IDC_PREVIEW_TEXT), text, sizeof text);
        shown = text;
        gt::Command(dialog, IDCANCEL);
    });
    driver.Step(kMainTitle, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    driver.Start(90);
    gt::RunApplicationOnce();
    driver.StopAndExpectClean();
    SetElevationProbe(nullptr);
    SetShellExecuteHandler(nullptr);

    ExpectQuestion(driver);
    EXPECT_EQ(g_request.verb, "runas");
    EXPECT_EQ(g_request.show, SW_HIDE);
    EXPECT_NE(shown.find("Restoring AutoRestartShell = " + std::to_string(shellOnly.shellValue)
                         + "\r\nRestore finished."),
              std::string::npos)
        << shown;
    EXPECT_FALSE(zt::FindProcesses("gj_restore.exe").empty());
    EXPECT_FALSE(zt::FileExists(m_journal));
    EXPECT_FALSE(zt::FileExists(second));
    ::CloseHandle(g_restoreThread);
}

TEST_F(RunJournal, RestoreQuestionAnsweredNoChangesNothing)
{
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "gj_restore.exe");
    const std::string journal = WriteDeadRunJournal(program);
    gt::GuiDriver driver;
    driver.Answer({IDNO});
    driver.Step(kMainTitle, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    driver.Start();
    gt::RunApplicationOnce();
    driver.StopAndExpectClean();
    ExpectQuestion(driver);
    // A restore would have been started before the program ended.
    EXPECT_TRUE(zt::FindProcesses("zephrun.exe", ::GetCurrentProcessId()).empty());
    EXPECT_TRUE(zt::FindProcesses("gj_restore.exe").empty());
    EXPECT_EQ(zt::ReadFileBytes(m_journal), journal);
}

TEST_F(RunJournal, PreviewRunShowsTheDryRunOfTheCurrentProfile)
{
    zt::TempFolder folder;
    const std::string program = zt::CopyBinaryAs("fixture_window.exe", folder.Path(), "gj_preview.exe");
    HANDLE running = zt::StartProgram("\"" + program + "\" --no-window");
    ASSERT_NE(running, nullptr);
    const DWORD programId = ::GetProcessId(running);
    ASSERT_TRUE(::CreateDirectoryA(gt::ProfilesFolder().c_str(), nullptr));
    zt::WriteFileBytes(gt::DefaultProfile(), gt::IniText("[Configuration]\ndescription=preview\nlogging=1\n"
                                                         "[Programs]\ngj_preview.exe=Stop & Restart|"
                                                         + program + "\n"));

    std::string shown;
    gt::GuiDriver driver;
    driver.Step(kMainTitle, [](HWND window) { gt::Command(window, ID_FILE_PREVIEW_RUN); });
    driver.Step("Preview run", [&](HWND dialog) {
        char text[8192] = {};
        ::GetWindowTextA(gt::Item(dialog, IDC_PREVIEW_TEXT), text, sizeof text);
        shown = text;
        gt::SaveWindowScreenshot(dialog, "preview-run");
        gt::Command(dialog, IDCANCEL);
    });
    driver.Step(kMainTitle, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    driver.Start(60);
    gt::RunApplicationOnce();
    driver.StopAndExpectClean();
    const std::vector<std::string> lines = {
        zt::kBanner,
        "Using ini file: " + gt::DefaultProfile(),
        "Free physical memory at start: <bytes> bytes (<MB> MB)",
        "Dry run: nothing is stopped, started or written.",
        "Phase 1: Forcing Idle tasks to execute.",
        "Would skip: not enabled",
        "Phase 2:  Stopping Programs",
        "Would close gj_preview.exe (process " + std::to_string(programId) + ") and restart it afterwards",
        "Phase 3: Stopping Services",
        "Phase 4: Defragmenting memory...skipping",
        "Phase 5: Starting Main Application",
        "ERROR: Main Application program path is not set!  Please run Zephlaunch to configure...",
        "Would skip phases 5 to 7",
        "Phase 8:  Restarting Services",
        "Phase 9:  Restarting Programs",
        "Would restart gj_preview.exe at " + program,
        "Dry run finished: nothing was changed.",
    };
    std::string expected;
    for (const std::string& line : lines)
        expected += line + "\r\n";
    EXPECT_EQ(zt::NormalizeMemoryFigures(shown), expected);
    EXPECT_EQ(::WaitForSingleObject(running, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the preview ended the program";
    ::TerminateProcess(running, 1);
    ::CloseHandle(running);
}

// The profile list's context menu offers Preview run too, for the profile clicked on.
TEST_F(RunJournal, PreviewRunFromTheContextMenuUsesTheClickedProfile)
{
    ASSERT_TRUE(::CreateDirectoryA(gt::ProfilesFolder().c_str(), nullptr));
    zt::WriteFileBytes(gt::ProfilePath("other"), gt::IniText("[Configuration]\ndescription=other\n"));

    std::string shown;
    gt::GuiDriver driver;
    driver.Step(kMainTitle, [](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        const std::vector<std::string> items = gt::ListItems(list);
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i] == "other")
                gt::ClickAt(list, gt::ItemCentre(list, static_cast<int>(i)), true);
        }
    });
    driver.StepInMenu([](HWND menu) {
        gt::SaveWindowScreenshot(menu, "profile-context-menu-preview-run");
        for (int i = 0; i <= 3; ++i)  // New, Delete, Create Shortcut, Preview run
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    });
    driver.Step("Preview run", [&](HWND dialog) {
        char text[8192] = {};
        ::GetWindowTextA(gt::Item(dialog, IDC_PREVIEW_TEXT), text, sizeof text);
        shown = text;
        gt::Command(dialog, IDCANCEL);
    });
    driver.Step("Zephlaunch - other", [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    driver.Start(60);
    gt::RunApplicationOnce();
    driver.StopAndExpectClean();
    EXPECT_NE(shown.find("\r\nUsing ini file: " + gt::ProfilePath("other") + "\r\n"), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("\r\nDry run finished: nothing was changed.\r\n"), std::string::npos) << shown;
}

}  // namespace
