// The Programs dialog: rows from running programs and from the profile, the Running
// view, Reset, Remove, Save, the version texts, and the main window's Programs button.
#include "dialogs/programs_dlg.h"
#include "resource.h"
#include "support/action_lists.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/program_fixture.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

namespace {

const char kPrograms[] = "Configure Programs";
const char kUnsaved[] = "You have made changes that have not been saved.  Would you like to save them now?";
using Col = CProgramsDlg::Column;

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

class ProgramsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_exe = zt::CopyBinaryAs("fixture_window.exe", m_folder.Path(), "zlprog_run.exe");
        // Two copies of one program give one row.
        m_first.reset(new zt::FixtureProgram(m_exe, ""));
        m_second.reset(new zt::FixtureProgram(m_exe, ""));
        gt::PrepareListDialogSettings(
            "[Configuration]\ndescription=programs\n[Programs]\n"
            "ZLPROG_RUN.EXE=Stop & Restart|C:\\old\\zlprog_run.exe\n"
            "zl_notrunning.exe=stop & restart|C:\\x\\zl_notrunning.exe\n"
            "zl_nobar.exe=Stop\n\334ber.exe=Stop|C:\\u.exe\n\374ber.exe=No Action|C:\\u.exe\n"
            "Stra\337e.exe=Stop|C:\\sz.exe\nStrasse.exe=No Action|C:\\ss.exe\n");
    }
    void TearDown() override
    {
        m_first.reset();
        m_second.reset();
        gt::ResetSettings();
    }

    static void Run(gt::GuiDriver& driver)
    {
        driver.Start(40);
        CProgramsDlg dialog;
        EXPECT_EQ(dialog.DoModal(), 0) << "the dialog ends with 0 after Save";
        driver.StopAndExpectClean();
    }
    static HWND List(HWND dialog) { return gt::Item(dialog, IDC_ACTION_LIST); }
    static std::string ProfileText() { return zt::ReadFileBytes(gt::DefaultProfile()); }

    zt::TempFolder m_folder;
    std::string m_exe;
    std::unique_ptr<zt::FixtureProgram> m_first, m_second;
};

TEST_F(ProgramsDialog, RunningAndProfiledProgramsAndSaveWritesEveryRow)
{
    gt::GuiDriver driver;
    std::vector<std::string> rows;
    std::vector<std::string> running, notRunning, noBar;
    // A program whose value would not read back whole with its full path is kept by its short one.
    const std::string deep = m_folder.Path() + "\\" + std::string(240 - m_folder.Path().size(), 'd');
    ASSERT_TRUE(::CreateDirectoryA(deep.c_str(), nullptr));
    zt::FixtureProgram deepRunning(zt::CopyBinaryAs("fixture_window.exe", deep, "zl_deep.exe"), "");
    char shortPath[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameA((deep + "\\zl_deep.exe").c_str(), shortPath, MAX_PATH), 0u);
    int runCopies = 0;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        EXPECT_TRUE(::GetWindowLongA(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);  // the dialog owns the images
        rows = gt::ListItems(list);
        for (const std::string& row : rows)
            runCopies += Lower(row) == "zlprog_run.exe" ? 1 : 0;
        auto cells = [&](const char* text) {
            std::vector<std::string> out;
            int row = gt::FindRow(list, text);
            for (int column = 0; column < 4 && row >= 0; ++column)
                out.push_back(gt::CellText(list, row, column));
            return out;
        };
        running = cells("zlprog_run.exe");
        notRunning = cells("zl_notrunning.exe");
        noBar = cells("zl_nobar.exe");
        gt::Click(dialog, IDC_LIST_SAVE);
    });
    driver.Answer({IDOK});
    Run(driver);

    EXPECT_EQ(runCopies, 1);
    ASSERT_EQ(running.size(), 4u);
    EXPECT_EQ(Lower(running[Col::kPath]), Lower(m_exe));  // the running module's path, not the stored one
    EXPECT_EQ(running[Col::kAction], "Stop & Restart");
    EXPECT_EQ(running[Col::kRunning], "Yes");
    ASSERT_EQ(notRunning.size(), 4u);
    EXPECT_EQ(notRunning[Col::kAction], "stop & restart");  // verbatim for a program that is not running
    EXPECT_EQ(notRunning[Col::kPath], "C:\\x\\zl_notrunning.exe");
    EXPECT_EQ(notRunning[Col::kRunning], "");
    ASSERT_EQ(noBar.size(), 4u);
    EXPECT_EQ(noBar[Col::kAction], "Stop");
    EXPECT_EQ(noBar[Col::kPath], "");
    for (const std::string& row : rows)
        EXPECT_NE(Lower(row), "svchost.exe");

    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Program settings have been saved.");
    EXPECT_EQ(driver.MessageBoxes()[0].icon, gt::BoxIcon::Information);
    const std::string text = ProfileText();
    // The key in the letter case the process list reports, the running path, every row.
    EXPECT_NE(text.find("\r\nzlprog_run.exe=Stop & Restart|"), std::string::npos) << text;
    EXPECT_EQ(text.find("ZLPROG_RUN.EXE"), std::string::npos) << text;
    EXPECT_EQ(Lower(gt::ReadIni(gt::DefaultProfile(), "Programs", "zlprog_run.exe")),
              Lower("Stop & Restart|" + m_exe));
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "zl_notrunning.exe"),
              "stop & restart|C:\\x\\zl_notrunning.exe");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "zl_nobar.exe"), "Stop|");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Configuration", "description"), "programs");
    // Names differing only in letter case are one row and one key; names a linguistic
    // comparison takes for one ("\337" and "ss") are two rows, each written back.
    const size_t umlaut = text.find("ber.exe=");
    EXPECT_TRUE(umlaut != std::string::npos && umlaut == text.rfind("ber.exe=")) << text;
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "Stra\337e.exe"), "Stop|C:\\sz.exe");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "Strasse.exe"), "No Action|C:\\ss.exe");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "zl_deep.exe"),
              std::string("No Action|") + shortPath);
}

// Running hides the rows of programs that do not run; it loses neither them nor the
// actions chosen so far, and Save writes them too.
TEST_F(ProgramsDialog, RunningIsAViewThatKeepsHiddenRowsAndChosenActions)
{
    gt::GuiDriver driver;
    std::vector<std::string> runningView;
    std::string keptAfterToggle;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        int row = gt::FindRow(list, "zl_notrunning.exe");
        gt::ClickCell(list, row, Col::kAction);
        gt::ClickCell(list, row, Col::kAction);
        HWND combo = gt::InPlaceCombo(list);
        ASSERT_NE(combo, nullptr);
        gt::PickFromCombo(combo, 1);  // "Stop"
        gt::Click(dialog, IDC_LIST_RUNNING);
        gt::Settle();
        for (int i = 0; i < static_cast<int>(gt::ListItems(list).size()); ++i)
            if (gt::CellText(list, i, Col::kRunning) != "Yes")
                runningView.push_back(gt::CellText(list, i, 0));
        EXPECT_EQ(gt::FindRow(list, "zl_notrunning.exe"), -1);
        gt::Click(dialog, IDC_LIST_RUNNING);
        gt::Settle();
        int back = gt::FindRow(list, "zl_notrunning.exe");
        keptAfterToggle = back < 0 ? "<row lost>" : gt::CellText(list, back, Col::kAction);
        gt::Click(dialog, IDC_LIST_RUNNING);
        gt::Settle();
        int running = gt::FindRow(list, "zlprog_run.exe");
        gt::ClickCell(list, running, Col::kAction);
        gt::ClickCell(list, running, Col::kAction);
        combo = gt::InPlaceCombo(list);
        ASSERT_NE(combo, nullptr);
        gt::PickFromCombo(combo, 1);
        gt::Click(dialog, IDC_LIST_SAVE);  // saved with Running on
    });
    driver.Answer({IDOK});
    Run(driver);
    EXPECT_TRUE(runningView.empty()) << runningView.size() << " rows of programs that do not run";
    EXPECT_EQ(keptAfterToggle, "Stop");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "zl_notrunning.exe"),
              "Stop|C:\\x\\zl_notrunning.exe");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "zl_nobar.exe"), "Stop|");
    EXPECT_EQ(Lower(gt::ReadIni(gt::DefaultProfile(), "Programs", "zlprog_run.exe")), Lower("Stop|" + m_exe));
}

// Reset and Remove are changes: leaving asks, and No leaves the profile as it was.
// A failed Save keeps the dialog open with every change.
TEST_F(ProgramsDialog, ResetAndRemoveAreChangesTheCloseQuestionCovers)
{
    const std::string before = ProfileText();
    gt::GuiDriver driver;
    std::vector<std::string> actions;
    driver.Step(kPrograms, [&](HWND dialog) { gt::Click(dialog, IDC_LIST_RESET); });
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        for (int i = 0; i < static_cast<int>(gt::ListItems(list).size()); ++i)
            actions.push_back(gt::CellText(list, i, Col::kAction));
        gt::Command(dialog, IDCANCEL);  // Escape
    });
    driver.Answer({IDYES, IDNO});
    driver.Start(40);
    CProgramsDlg first;
    first.DoModal();
    driver.Stop();
    EXPECT_TRUE(driver.AllStepsRun());
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(
        driver.MessageBoxes()[0].text,
        "This will reset the Action for all programs to 'No Action'.  Are you sure you want to do this?");
    EXPECT_EQ(driver.MessageBoxes()[1].text, kUnsaved);
    for (const std::string& action : actions)
        EXPECT_EQ(action, "No Action");
    EXPECT_EQ(ProfileText(), before);

    gt::GuiDriver removing;
    removing.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        gt::ClickCell(list, gt::FindRow(list, "zl_notrunning.exe"), 0);
        gt::Click(dialog, IDC_LIST_REMOVE);
        gt::Settle();
        EXPECT_EQ(gt::FindRow(list, "zl_notrunning.exe"), -1);
        zt::RemoveTree(gt::ProfilesFolder());
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    removing.Step(kPrograms, [&](HWND dialog) {
        EXPECT_EQ(gt::FindRow(List(dialog), "zl_notrunning.exe"), -1);
        ::CreateDirectoryA(gt::ProfilesFolder().c_str(), nullptr);
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    removing.Answer({IDYES, IDOK, IDYES, IDOK});  // save when asked, twice
    Run(removing);
    ASSERT_EQ(removing.MessageBoxes().size(), 4u);
    EXPECT_EQ(removing.MessageBoxes()[1].text, "Program settings could not be saved (error = 3).");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "zl_notrunning.exe"), "<missing>");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "zl_nobar.exe"), "Stop|");
}

TEST(ProgramsVersionText, OwnVersionBlockOnHoverAndOnRightClick)
{
    const std::string own = zt::BinPath("Zephlaunch.exe");
    const std::string bare = zt::BinPath("fixture_window.exe");
    gt::PrepareListDialogSettings("[Programs]\nzl_own.exe=Stop|" + own + "\nzl_bare.exe=Stop|" + bare
                                  + "\nzl_gone.exe=Stop|C:\\nowhere\\zl_gone.exe\n");
    gt::GuiDriver driver;
    std::string hoverOwn, hoverBare, hoverGone, clickOwn, helpAfterFailedClick;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = gt::Item(dialog, IDC_ACTION_LIST);
        HWND help = gt::HelpWindowOf(dialog, "Programs Help");
        ASSERT_NE(help, nullptr);
        gt::SendHotTrack(dialog, list, gt::FindRow(list, "zl_own.exe"));
        hoverOwn = gt::HelpText(help);
        gt::SaveWindowsScreenshot({dialog, help}, "programs-dialog-help-docked");
        gt::SendHotTrack(dialog, list, gt::FindRow(list, "zl_bare.exe"));
        hoverBare = gt::HelpText(help);
        gt::SendHotTrack(dialog, list, gt::FindRow(list, "zl_gone.exe"));
        hoverGone = gt::HelpText(help);
        int row = gt::FindRow(list, "zl_own.exe");
        gt::ClickCell(list, row, 0);
        gt::ClickAt(list, gt::CellPoint(list, row, 0), true);
        gt::Settle();
        clickOwn = gt::HelpText(help);
        row = gt::FindRow(list, "zl_bare.exe");
        gt::ClickCell(list, row, 0);
        gt::ClickAt(list, gt::CellPoint(list, row, 0), true);  // a message box; the help text stays
    });
    driver.Step(kPrograms, [&](HWND dialog) {
        helpAfterFailedClick = gt::HelpText(gt::HelpWindowOf(dialog, "Programs Help"));
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    driver.Answer({IDOK});
    driver.Start(40);
    CProgramsDlg dialog;
    dialog.DoModal();
    driver.Stop();
    EXPECT_TRUE(driver.AllStepsRun());
    gt::ResetSettings();

    const std::string version = ZEPH_PROJECT_VERSION;
    const std::string header = "Program: zl_own.exe\r\nFile Path: " + own + "\r\n\r\n";
    const std::string values = "File Version: " + version + ".0\r\nProduct Version: " + version +
                               "\r\n\r\nFile Description: Zephlaunch profile editor\r\n\r\nProduct Name: Zephlaunch\r\n"
                               "Company: Quillon\r\nCopyright: Copyright (C) Quillon\r\n\r\nComments: ";
    EXPECT_EQ(hoverOwn, header + values + "N/A");
    EXPECT_EQ(clickOwn, header + values);  // a right-click shows what the query gave: nothing
    // Wine reports 1812 for a program without a version resource (Windows: 1813, mapped
    // to "No additional information..."; see the unit tests of the mapping).
    EXPECT_EQ(hoverBare,
              "Unable to retrieve version information.  This is probably because the program no longer "
              "exists on this "
              "computer.");
    EXPECT_EQ(hoverGone, "Unable to retrieve version information size: error 3.");
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Unable to retrieve version information size: error 1812.");
    EXPECT_EQ(driver.MessageBoxes()[0].icon, gt::BoxIcon::Exclamation);
    EXPECT_EQ(helpAfterFailedClick, clickOwn);
}

TEST(ProgramsFromMainWindow, ProgramsButtonOpensTheDialogOwnedByTheMainWindow)
{
    gt::PrepareApplication();
    gt::ResetSettings();
    const gt::DialogOwnership seen = gt::OpenDialogFromMainWindow(
        IDC_PROGRAMS, kPrograms, [](HWND dialog) { gt::Command(dialog, IDCANCEL); });
    EXPECT_EQ(seen.owner, seen.mainWindow);
    gt::ResetSettings();
}

}  // namespace
