// The Configure dialog's commands: validation, Save failures, Browse, the launcher
// case, the auto-start list with Add, Edit and Delete, the window rectangle and the
// resize layout, and the way in from the main window.
#include "configure_profile.h"
#include "resource.h"
#include "globals.h"
#include "support/configure_helpers.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

namespace {

using gt::BoxIcon;
using gt::kConfigureTitle;
using gt::kEditTitle;

class ConfigureEdit : public gt::ConfigureTest {};

struct BadValue {
    int id;
    std::string text;
    const char* message;
};

// Clicks a row of the auto-start list and waits until it is selected and the
// selection mark; false when it did not become so.
bool ClickRow(HWND dialog, int row)
{
    HWND list = gt::Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST);
    gt::ClickAt(list, gt::ItemCentre(list, row), false);
    return gt::PumpUntil(
        [&] {
            return gt::SelectedItem(list) == row && ::SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0) == row;
        },
        2000);
}

void PressEnterIn(HWND dialog, int id)
{
    HWND field = gt::Item(dialog, id);
    ::SetFocus(field);
    ::PostMessageA(field, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(field, WM_KEYUP, VK_RETURN, 0xC0000001);
}

// Enter outside a button is the dialog's OK command: with changes it asks; Yes validates
// (a failure keeps the dialog open) and No closes without writing anything.
TEST_F(ConfigureEdit, EnterOutsideAButtonValidatesAndClosesWithoutWriting)
{
    const std::string original = gt::IniText("[Configuration]\ndescription=Keep\n");
    zt::WriteFileBytes(Profile(), original);
    gt::GuiDriver driver;
    driver.Answer({IDYES, IDOK, IDNO});
    driver.Step(kConfigureTitle, [](HWND dialog) {
        gt::WaitForSelectionTimer(dialog);
        gt::TypeText(dialog, IDC_CONFIGURE_NONRESPONSE, "2");
        gt::TypeText(dialog, IDC_CONFIGURE_DESCRIPTION, "Changed");
        PressEnterIn(dialog, IDC_CONFIGURE_DESCRIPTION);
    });
    driver.Step(kConfigureTitle, [](HWND dialog) {
        gt::TypeText(dialog, IDC_CONFIGURE_NONRESPONSE, "3");
        PressEnterIn(dialog, IDC_CONFIGURE_CMDLINE);
    });
    EXPECT_EQ(RunConfigure(driver), IDOK);
    ASSERT_EQ(driver.MessageBoxes().size(), 3u);
    EXPECT_EQ(driver.MessageBoxes()[1].text, "Please enter an integer between 3 and 900.");
    EXPECT_EQ(driver.MessageBoxes()[1].icon, BoxIcon::Exclamation);
    EXPECT_EQ(zt::ReadFileBytes(Profile()), original);
    EXPECT_EQ(SavedRect(), "<missing>,<missing>,<missing>,<missing>");
}

TEST_F(ConfigureEdit, FocusGoesToTheFieldThatFailed)
{
    WriteProfile("[Configuration]\n");
    const BadValue bad[] = {
        {IDC_CONFIGURE_NONRESPONSE, "901", "Please enter an integer between 3 and 900."},
        {IDC_CONFIGURE_CMDLINE, std::string(300, 'c'), "Please enter no more than 255 characters."},
        {IDC_CONFIGURE_AUTOSTART_DELAY, "x", "Please enter a positive integer."},
        {IDC_CONFIGURE_DESCRIPTION, std::string(256, 'd'), "Please enter no more than 255 characters."},
    };
    for (const BadValue& value : bad) {
        gt::GuiDriver driver;
        driver.Answer({IDOK, IDNO});  // the refusal; leave without saving
        int focus = 0;
        bool typed = false;
        driver.Step(kConfigureTitle, [&](HWND dialog) {
            gt::WaitForSelectionTimer(dialog);
            gt::TypeText(dialog, value.id, value.text);
            typed = gt::TitleOf(gt::Item(dialog, value.id)) == value.text;
            gt::Click(dialog, IDC_CONFIGURE_SAVE);
        });
        driver.Step(kConfigureTitle, [&](HWND dialog) {
            focus = ::GetDlgCtrlID(::GetFocus());
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(RunConfigure(driver), IDCANCEL);
        EXPECT_TRUE(typed) << value.id;
        ASSERT_EQ(driver.MessageBoxes().size(), 2u) << value.id;
        EXPECT_EQ(driver.MessageBoxes()[0].text, value.message);
        EXPECT_EQ(focus, value.id);
        EXPECT_EQ(gt::SectionEntries(Profile(), "Configuration").size(), 0u);
    }
}

TEST_F(ConfigureEdit, FailedSaveNamesTheFileAndErrorAndKeepsTheDialogOpen)
{
    WriteProfile("[Configuration]\ndescription=Before\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK});
    std::string descriptionAfterFailure;
    driver.Step(kConfigureTitle, [](HWND dialog) {
        gt::TypeText(dialog, IDC_CONFIGURE_DESCRIPTION, "After");
        zt::RemoveTree(gt::ProfilesFolder());
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        descriptionAfterFailure = gt::TitleOf(gt::Item(dialog, IDC_CONFIGURE_DESCRIPTION));
        ::CreateDirectoryA(gt::ProfilesFolder().c_str(), nullptr);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[0].caption, "Zephlaunch");
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              "Unable to save the configuration changes to:\r\n\n" + Profile() + "\r\n\n(error code 3)");
    EXPECT_EQ(driver.MessageBoxes()[0].icon, BoxIcon::Exclamation);
    EXPECT_EQ(driver.MessageBoxes()[1].text, "Configuration changes have been saved.");
    EXPECT_EQ(descriptionAfterFailure, "After") << "no edit is lost";
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "description"), "After");
}

TEST_F(ConfigureEdit, FailedSaveWritesNoRectangle)
{
    WriteProfile("[Configuration]\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    driver.Step(kConfigureTitle, [](HWND dialog) {
        zt::RemoveTree(gt::ProfilesFolder());
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    driver.Step(kConfigureTitle, [](HWND dialog) { gt::Command(dialog, IDCANCEL); });
    EXPECT_EQ(RunConfigure(driver), IDCANCEL);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_NE(driver.MessageBoxes()[0].text.find("(error code 3)"), std::string::npos);
    EXPECT_EQ(SavedRect(), "<missing>,<missing>,<missing>,<missing>");
    EXPECT_FALSE(zt::FileExists(Profile()));
}

BOOL WINAPI DeleteAndReportFailure(LPCSTR section, LPCSTR text, LPCSTR file)
{
    ::WritePrivateProfileSectionA(section, text, file);
    return FALSE;  // as some Windows versions do for a section that is not there
}

// Each field at its limit reads back whole and is saved unchanged (a section gone is deleted).
TEST_F(ConfigureEdit, EveryFieldAtItsLimitReadsBackWhole)
{
    const std::vector<std::string> fields = {"description=" + std::string(255, 'd'),
                                             "fspath=C:\\" + std::string(252, 'p'),
                                             "fscmdline=" + std::string(255, 'c')};
    const std::string autoStart = "C:\\" + std::string(252, 'k') + "=" + std::string(251, 'a') + "|900";
    WriteProfile("[Configuration]\n" + fields[0] + "\n" + fields[1] + "\n" + fields[2] + "\n[AutoStart]\n"
                 + autoStart);
    g_deleteSectionCall = &DeleteAndReportFailure;
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    driver.Step(kConfigureTitle, [](HWND dialog) {
        EXPECT_EQ(::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_APP_PATH), EM_GETLIMITTEXT, 0, 0), 255);
        HWND list = gt::Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST);  // only the dialog destroys its images
        EXPECT_TRUE(::GetWindowLongA(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    g_deleteSectionCall = &::WritePrivateProfileSectionA;
    std::vector<std::string> saved = gt::SectionEntries(Profile(), "Configuration");
    saved.resize(3);  // the first three keys of Save's order
    EXPECT_EQ(saved, fields);
    EXPECT_EQ(gt::SectionEntries(Profile(), "AutoStart"), std::vector<std::string>{autoStart});
}

TEST_F(ConfigureEdit, BrowseChangesOnlyThePath)
{
    WriteProfile("[Configuration]\nfspath=C:\\old\\app.exe\n");
    const std::string chosen = zt::BinPath("Zephlaunch.exe");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    gt::ConfigureView before, after;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        gt::TypeText(dialog, IDC_CONFIGURE_DESCRIPTION, "Edited description");
        gt::TypeText(dialog, IDC_CONFIGURE_CMDLINE, "-edited");
        gt::TypeText(dialog, IDC_CONFIGURE_NONRESPONSE, "44");
        ::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_LOGGING), BM_CLICK, 0, 0);
        before = gt::ReadView(dialog);
        gt::Click(dialog, IDC_CONFIGURE_BROWSE);
    });
    driver.Step("Open", [&](HWND open) {
        gt::SaveWindowScreenshot(open, "configure-open-dialog");
        gt::ChooseFile(open, chosen);
    });
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        after = gt::ReadView(dialog);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(after.appPath, chosen);
    EXPECT_EQ(after.description, "Edited description");
    EXPECT_EQ(after.commandLine, "-edited");
    EXPECT_EQ(after.nonResponse, "44");
    EXPECT_EQ(after.ticked, before.ticked);
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "fspath"), chosen);
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "fscmdline"), "-edited");
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "logging"), "1");
}

TEST_F(ConfigureEdit, NotTheMainAppStoresOnlyTheChosenFileName)
{
    zt::TempFolder temp;
    ASSERT_TRUE(::CreateDirectoryA(temp.File("Games").c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(temp.File("Games\\Start").c_str(), nullptr));
    const std::string launcher = temp.File("Games\\Start\\launcher.exe");
    zt::WriteFileBytes(launcher, "MZ");
    WriteProfile("[Configuration]\nMainAppExe=\n");

    gt::GuiDriver driver;
    driver.Answer({IDCANCEL, IDOK, IDOK});
    std::string tickedAfterCancel, tickedAfterChoice;
    driver.Step(kConfigureTitle, [](HWND dialog) { gt::Click(dialog, IDC_CONFIGURE_NOT_MAIN_APP); });
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        tickedAfterCancel = gt::ReadView(dialog).ticked;
        gt::Click(dialog, IDC_CONFIGURE_NOT_MAIN_APP);
    });
    driver.Step("Open", [&](HWND open) { gt::ChooseFile(open, launcher); });
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        tickedAfterChoice = gt::ReadView(dialog).ticked;
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    ASSERT_EQ(driver.MessageBoxes().size(), 3u);
    EXPECT_EQ(
        driver.MessageBoxes()[0].text,
        "You have selected to tell Zephlaunch that the main application is \r\nnot the one that has been "
        "configured.\r\n\nNormally, this is done when the application that Zephlaunch\r\nwill launch will "
        "spawn off the main application.\r\n\nPress OK, then browse to the main application's exe file.");
    EXPECT_EQ(driver.MessageBoxes()[0].icon, BoxIcon::Information);
    EXPECT_TRUE(driver.MessageBoxes()[0].hasCancel);
    EXPECT_EQ(tickedAfterCancel, "") << "Cancel unticks the box";
    EXPECT_EQ(tickedAfterChoice, "notmain");
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "MainAppExe"), "launcher.exe");
}

TEST_F(ConfigureEdit, UntickingNotTheMainAppWritesAnEmptyName)
{
    WriteProfile("[Configuration]\nMainAppExe=real.exe\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK});
    std::string tickedAtOpen;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        tickedAtOpen = gt::ReadView(dialog).ticked;
        gt::Click(dialog, IDC_CONFIGURE_NOT_MAIN_APP);  // untick: no question
    });
    driver.Step(kConfigureTitle, [](HWND dialog) { gt::Click(dialog, IDC_CONFIGURE_NOT_MAIN_APP); });
    driver.Step("Open", [](HWND open) { gt::Command(open, IDCANCEL); });
    driver.Step(kConfigureTitle, [](HWND dialog) { gt::Click(dialog, IDC_CONFIGURE_SAVE); });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(tickedAtOpen, "notmain");
    EXPECT_EQ(driver.MessageBoxes().size(), 2u) << "one question (for the second tick), one confirmation";
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "MainAppExe"), "");
}

TEST_F(ConfigureEdit, TimerEnablesEditAndDeleteForASelectedRow)
{
    WriteProfile("[AutoStart]\nC:\\Tools\\a.exe=-a|5\nC:\\Tools\\b.exe=|\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    bool enabledAtOpen = true, enabledWhenSelected = false, disabledAfterDelete = false;
    std::vector<std::string> rowsAfterDelete;
    std::string editShown, delayShown;
    HWND configure = nullptr;
    bool configureEnabledDuringEdit = true;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        configure = dialog;
        gt::WaitForSelectionTimer(dialog);
        enabledAtOpen = gt::EditAndDeleteEnabled(dialog);
        EXPECT_TRUE(ClickRow(dialog, 1));
        enabledWhenSelected = gt::PumpUntil([&] { return gt::EditAndDeleteEnabled(dialog); }, 1000);
        gt::Click(dialog, IDC_CONFIGURE_EDIT);
    });
    driver.Step(kEditTitle, [&](HWND edit) {
        gt::SaveWindowScreenshot(edit, "edit-auto-start-program-dialog");
        configureEnabledDuringEdit = ::IsWindowEnabled(configure) != FALSE;
        editShown = gt::TitleOf(gt::Item(edit, IDC_EDIT_CMDLINE_TEXT));
        delayShown = gt::TitleOf(gt::Item(edit, IDC_EDIT_CMDLINE_DELAY));
        gt::TypeText(edit, IDC_EDIT_CMDLINE_TEXT, "-b|x");
        gt::TypeText(edit, IDC_EDIT_CMDLINE_DELAY, "900");
        gt::Click(edit, IDOK);
    });
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        EXPECT_TRUE(ClickRow(dialog, 0));
        gt::PumpUntil([&] { return gt::EditAndDeleteEnabled(dialog); }, 1000);
        ::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_DELETE), BM_CLICK, 0, 0);
        rowsAfterDelete = gt::ReadView(dialog).rows;
        disabledAfterDelete = gt::PumpUntil(
            [&] {
                return !::IsWindowEnabled(gt::Item(dialog, IDC_CONFIGURE_EDIT))
                       && !::IsWindowEnabled(gt::Item(dialog, IDC_CONFIGURE_DELETE));
            },
            1000);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_FALSE(enabledAtOpen);
    EXPECT_TRUE(enabledWhenSelected);
    EXPECT_FALSE(configureEnabledDuringEdit) << "the Edit dialog is modal to Configure";
    EXPECT_EQ(editShown, "");
    EXPECT_EQ(delayShown, "0") << "an empty delay is offered as 0";
    EXPECT_EQ(rowsAfterDelete, (std::vector<std::string>{"C:\\Tools\\b.exe|-b|x|900"}));
    EXPECT_TRUE(disabledAfterDelete);
    EXPECT_EQ(driver.MessageBoxes().size(), 1u) << "Delete asks nothing";
    EXPECT_EQ(gt::SectionEntries(Profile(), "AutoStart"),
              (std::vector<std::string>{"C:\\Tools\\b.exe=-b|x|900"}));
}

TEST_F(ConfigureEdit, EditDialogValidatesItsFields)
{
    WriteProfile("[AutoStart]\nC:\\Tools\\a.exe=-a|abc\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK});
    std::string delayShown;
    int focusAfterText = 0, focusAfterDelay = 0;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        EXPECT_TRUE(ClickRow(dialog, 0));
        gt::PumpUntil([&] { return gt::EditAndDeleteEnabled(dialog); }, 1000);
        gt::Click(dialog, IDC_CONFIGURE_EDIT);
    });
    driver.Step(kEditTitle, [&](HWND edit) {
        delayShown = gt::TitleOf(gt::Item(edit, IDC_EDIT_CMDLINE_DELAY));
        gt::TypeText(edit, IDC_EDIT_CMDLINE_TEXT, std::string(256, 'e'));
        gt::Click(edit, IDOK);
    });
    driver.Step(kEditTitle, [&](HWND edit) {
        focusAfterText = ::GetDlgCtrlID(::GetFocus());
        gt::TypeText(edit, IDC_EDIT_CMDLINE_TEXT, "-ok");
        gt::TypeText(edit, IDC_EDIT_CMDLINE_DELAY, "901");
        gt::Click(edit, IDOK);
    });
    driver.Step(kEditTitle, [&](HWND edit) {
        focusAfterDelay = ::GetDlgCtrlID(::GetFocus());
        gt::Command(edit, IDCANCEL);
    });
    driver.Step(kConfigureTitle, [](HWND dialog) { gt::Command(dialog, IDCANCEL); });
    EXPECT_EQ(RunConfigure(driver), IDCANCEL);
    EXPECT_EQ(delayShown, "0") << "a delay that is no number is offered as 0";
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Please enter no more than 251 characters.");  // +"|900": 255
    EXPECT_EQ(driver.MessageBoxes()[1].text, "Please enter an integer between 0 and 900.");
    EXPECT_EQ(focusAfterText, IDC_EDIT_CMDLINE_TEXT);
    EXPECT_EQ(focusAfterDelay, IDC_EDIT_CMDLINE_DELAY);
    EXPECT_EQ(gt::SectionEntries(Profile(), "AutoStart"),
              (std::vector<std::string>{"C:\\Tools\\a.exe=-a|abc"}));
}

TEST_F(ConfigureEdit, AddThenCancelInTheEditDialogWritesABar)
{
    WriteProfile("[AutoStart]\nC:\\Tools\\a.exe=-a|5\n");
    const std::string added = zt::BinPath("Zephlaunch.exe");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    std::vector<std::string> rows;
    int image = -1;
    driver.Step(kConfigureTitle, [](HWND dialog) { gt::Click(dialog, IDC_CONFIGURE_ADD); });
    driver.Step("Open", [&](HWND open) { gt::ChooseFile(open, added); });
    driver.Step(kEditTitle, [](HWND edit) { gt::Command(edit, IDCANCEL); });
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        rows = gt::ReadView(dialog).rows;
        image = gt::ListImage(gt::Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST), 1);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(rows, (std::vector<std::string>{"C:\\Tools\\a.exe|-a|5", added + "||"}));
    EXPECT_GT(image, 0) << "the added program shows its own icon";
    EXPECT_EQ(gt::SectionEntries(Profile(), "AutoStart"),
              (std::vector<std::string>{"C:\\Tools\\a.exe=-a|5", added + "=|"}));
}

}  // namespace
