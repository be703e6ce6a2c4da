// The Configure and Edit Auto Start Program dialogs, run as the main window runs them
// and driven through their controls, message boxes and the Open dialog; what they
// show is read back from the controls and what they save from the profile file.
#include "dialogs/configure_dlg.h"
#include "globals.h"
#include "resource.h"
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

class Configure : public gt::ConfigureTest {};

TEST_F(Configure, ProfileWithoutKeysShowsDefaultsAndSaveWritesEveryKnownKeyInOrder)
{
    WriteProfile("[Configuration]\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    gt::ConfigureView view;
    std::vector<std::string> priorities;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        gt::WaitForSelectionTimer(dialog);
        view = gt::ReadView(dialog);
        HWND combo = gt::Item(dialog, IDC_CONFIGURE_PRIORITY);
        for (int i = 0; i < ::SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
            char text[64] = {};
            ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            priorities.push_back(text);
        }
        gt::SaveWindowScreenshot(dialog, "configure-dialog-defaults");
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);

    EXPECT_EQ(view.description, "");
    EXPECT_EQ(view.appPath, "<not set>");
    EXPECT_EQ(view.commandLine, "");
    EXPECT_EQ(view.priority, "Normal");
    EXPECT_EQ(priorities, (std::vector<std::string>{"Realtime", "High", "Above Normal", "Normal",
                                                    "Below Normal", "Low"}));
    EXPECT_EQ(view.nonResponse, "15");
    EXPECT_EQ(view.autoStartDelay, "30");
    EXPECT_EQ(view.ticked, "");
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.focus, IDC_CONFIGURE_SAVE) << "disabling Edit and Delete moves the focus on to Save";
    EXPECT_FALSE(view.enabled.count(IDC_CONFIGURE_MAIN_APP_WAIT)) << "only for a launcher";

    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].caption, "Zephlaunch");
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Configuration changes have been saved.");
    EXPECT_EQ(driver.MessageBoxes()[0].icon, BoxIcon::Information);
    EXPECT_EQ(gt::SectionEntries(Profile(), "Configuration"),
              (std::vector<std::string>{"description=", "fspath=<not set>", "fscmdline=", "fspriority=Normal",
                                        "defragmem=0", "procidletasks=0", "nonresponse=15",
                                        "autostartdelay=30", "pauseatend=0", "MainAppExe=", "mainappwait=120",
                                        "logging=0", "donotlaunchapp=0", "powerplan=0", "keepawake=0"}));
    EXPECT_TRUE(gt::SectionEntries(Profile(), "AutoStart").empty());
    EXPECT_NE(SavedRect(), "<missing>,<missing>,<missing>,<missing>") << "Save remembers the rectangle";
}

TEST_F(Configure, MissingProfileFileIsCreatedBySave)
{
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    driver.Step(kConfigureTitle, [](HWND dialog) {
        gt::TypeText(dialog, IDC_CONFIGURE_DESCRIPTION, "Fresh");
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(gt::SectionEntries(Profile(), "Configuration").size(), 15u);
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "description"), "Fresh");
}

TEST_F(Configure, EveryKeyIsShownAndWrittenBackWithUnknownKeysKeptAfterThem)
{
    WriteProfile(
        "[Configuration]\ndescription=Racing night\nhandadded=keep me\nfspath=C:\\Games\\racer.exe\n"
        "fscmdline=-fullscreen -fast\nfspriority=Below Normal\ndefragmem=1\nprocidletasks=1\n"
        "nonresponse=900\nautostartdelay=0\npauseatend=1\nMainAppExe=real.exe\nlogging=1\nfuture=2\n"
        "mainappwait=45\n"
        "[Programs]\nnotepad.exe=Stop|C:\\Windows\\notepad.exe\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    gt::ConfigureView view;
    std::string wait;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        view = gt::ReadView(dialog);
        wait = gt::TitleOf(gt::Item(dialog, IDC_CONFIGURE_MAIN_APP_WAIT));
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(wait, "45");
    EXPECT_TRUE(view.enabled.count(IDC_CONFIGURE_MAIN_APP_WAIT)) << "beside a ticked launcher option";
    EXPECT_EQ(view.description, "Racing night");
    EXPECT_EQ(view.appPath, "C:\\Games\\racer.exe");
    EXPECT_EQ(view.commandLine, "-fullscreen -fast");
    EXPECT_EQ(view.priority, "Below Normal");
    EXPECT_EQ(view.nonResponse, "900");
    EXPECT_EQ(view.autoStartDelay, "0");
    // Idle tasks are offered on Windows XP and Server 2003 only.
    EXPECT_EQ(view.ticked, "defrag pause notmain logging");
    EXPECT_FALSE(view.enabled.count(IDC_CONFIGURE_IDLE_TASKS));
    EXPECT_EQ(gt::SectionEntries(Profile(), "Configuration"),
              (std::vector<std::string>{
                  "description=Racing night", "fspath=C:\\Games\\racer.exe", "fscmdline=-fullscreen -fast",
                  "fspriority=Below Normal", "defragmem=1", "procidletasks=0", "nonresponse=900",
                  "autostartdelay=0", "pauseatend=1", "MainAppExe=real.exe", "mainappwait=45", "logging=1",
                  "donotlaunchapp=0", "powerplan=0", "keepawake=0", "handadded=keep me", "future=2"}));
    EXPECT_EQ(gt::SectionEntries(Profile(), "Programs"),
              (std::vector<std::string>{"notepad.exe=Stop|C:\\Windows\\notepad.exe"}))
        << "other sections are left alone";
}

TEST_F(Configure, AutoStartValuesAreSplitAtTheLastBarAndWrittenBack)
{
    const std::string withIcon = zt::BinPath("Zephlaunch.exe");
    WriteProfile(
        "[AutoStart]\nC:\\Tools\\a.exe=-a|-b|10\nC:\\Tools\\b.exe=/min\nC:\\Tools\\c.exe=|\n"
        "C:\\Tools\\d.exe=-x|abc\n"
        + withIcon + "=-tray|5\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    gt::ConfigureView view;
    std::vector<int> images;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        view = gt::ReadView(dialog);
        HWND list = gt::Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST);
        for (int row = 0; row < 5; ++row)
            images.push_back(gt::ListImage(list, row));
        // The row with a program icon, selected, for the picture.
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        ::SendMessageA(list, LVM_SETITEMSTATE, 4, reinterpret_cast<LPARAM>(&state));
        ::SendMessageA(list, LVM_ENSUREVISIBLE, 4, FALSE);
        gt::SaveWindowScreenshot(dialog, "configure-dialog-autostart");
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(view.rows, (std::vector<std::string>{"C:\\Tools\\a.exe|-a|-b|10", "C:\\Tools\\b.exe|/min|0",
                                                   "C:\\Tools\\c.exe||", "C:\\Tools\\d.exe|-x|abc",
                                                   withIcon + "|-tray|5"}));
    EXPECT_EQ(images.back(), 1) << "the program's own icon follows the red cross";
    EXPECT_EQ(
        gt::SectionEntries(Profile(), "AutoStart"),
        (std::vector<std::string>{"C:\\Tools\\a.exe=-a|-b|10", "C:\\Tools\\b.exe=/min|0",
                                  "C:\\Tools\\c.exe=|", "C:\\Tools\\d.exe=-x|abc", withIcon + "=-tray|5"}));
}

TEST_F(Configure, PriorityIsSelectedByPrefixWithoutRegardToCase)
{
    struct Case {
        const char* stored;
        const char* shown;
    };
    for (const Case& c : {Case{"high", "High"}, Case{"Idle", "Normal"}, Case{"Below", "Below Normal"},
                          Case{"Realtime", "Realtime"}}) {
        WriteProfile(std::string("[Configuration]\nfspriority=") + c.stored + "\n");
        gt::GuiDriver driver;
        driver.Answer({IDOK});
        std::string shown;
        driver.Step(kConfigureTitle, [&](HWND dialog) {
            shown = gt::ReadView(dialog).priority;
            gt::Click(dialog, IDC_CONFIGURE_SAVE);
        });
        EXPECT_EQ(RunConfigure(driver), 0);
        EXPECT_EQ(shown, c.shown) << c.stored;
        EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "fspriority"), c.shown) << c.stored;
    }
}

TEST_F(Configure, ShutdownAndRestartBothStoredShowTickedAndDisabledAndAreWrittenAgain)
{
    WriteProfile(
        "[Configuration]\nShutdownAfterTermination=1\nRestartAfterTermination=1\npowerplan=1\nkeepawake=1\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    gt::ConfigureView view;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        view = gt::ReadView(dialog);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(view.ticked, "shutdown restart");
    EXPECT_FALSE(view.enabled.count(IDC_CONFIGURE_SHUTDOWN));
    EXPECT_FALSE(view.enabled.count(IDC_CONFIGURE_RESTART));
    std::vector<std::string> entries = gt::SectionEntries(Profile(), "Configuration");
    ASSERT_EQ(entries.size(), 17u);
    EXPECT_EQ(entries[13], "powerplan=1");  // the two boxes show what was stored and write it back
    EXPECT_EQ(entries[14], "keepawake=1");
    EXPECT_EQ(entries[15], "ShutdownAfterTermination=1");
    EXPECT_EQ(entries[16], "RestartAfterTermination=1");
}

TEST_F(Configure, ShutdownAndRestartExcludeEachOtherWhenClicked)
{
    WriteProfile("[Configuration]\nShutdownAfterTermination=2\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    bool restartAfterTick = true, restartAfterUntick = false, shutdownWhileRestart = true;
    std::string tickedAtOpen;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        tickedAtOpen = gt::ReadView(dialog).ticked;
        ::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_SHUTDOWN), BM_CLICK, 0, 0);
        restartAfterTick = ::IsWindowEnabled(gt::Item(dialog, IDC_CONFIGURE_RESTART)) != FALSE;
        ::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_SHUTDOWN), BM_CLICK, 0, 0);
        restartAfterUntick = ::IsWindowEnabled(gt::Item(dialog, IDC_CONFIGURE_RESTART)) != FALSE;
        ::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_RESTART), BM_CLICK, 0, 0);
        shutdownWhileRestart = ::IsWindowEnabled(gt::Item(dialog, IDC_CONFIGURE_SHUTDOWN)) != FALSE;
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(tickedAtOpen, "") << "only the value 1 ticks Shutdown";
    EXPECT_FALSE(restartAfterTick);
    EXPECT_TRUE(restartAfterUntick);
    EXPECT_FALSE(shutdownWhileRestart);
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "ShutdownAfterTermination"), "<missing>");
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "RestartAfterTermination"), "1");
}

TEST_F(Configure, DoNotLaunchDisablesTheLaunchControlsAndUntickingEnablesThem)
{
    WriteProfile("[Configuration]\ndonotlaunchapp=1\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    gt::ConfigureView atOpen, afterUntick;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        atOpen = gt::ReadView(dialog);
        ::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_DO_NOT_LAUNCH), BM_CLICK, 0, 0);
        afterUntick = gt::ReadView(dialog);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    for (int id : gt::kLaunchControls) {
        EXPECT_FALSE(atOpen.enabled.count(id)) << id;
        EXPECT_TRUE(afterUntick.enabled.count(id)) << id;
    }
    EXPECT_EQ(atOpen.ticked, "donotlaunch");
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "donotlaunchapp"), "0");
}

TEST_F(Configure, CheckBoxValueTwoShowsTickedAndSavesOneThreeShowsUntickedAndSavesZero)
{
    WriteProfile("[Configuration]\ndefragmem=2\npauseatend=3\nlogging=2\ndonotlaunchapp=3\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    gt::ConfigureView view;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        view = gt::ReadView(dialog);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    EXPECT_EQ(RunConfigure(driver), 0);
    EXPECT_EQ(view.ticked, "defrag logging");
    EXPECT_FALSE(view.enabled.count(IDC_CONFIGURE_APP_PATH)) << "any non-zero donotlaunchapp disables";
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "defragmem"), "1");
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "pauseatend"), "0");
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "logging"), "1");
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "donotlaunchapp"), "0");
}

}  // namespace
