// Start-up of the GUI: the settings folder, the default profile, the one-time move of
// an older installation's files out of the Windows folder, and the failure message.
#include "resource.h"
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

class StartUp : public ::testing::Test {
protected:
    void SetUp() override { gt::ResetSettings(); }
    void TearDown() override { gt::ResetSettings(); }
};

bool FolderExists(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Closes the main window with File > Exit once it shows the given title.
void ExitWhenShown(gt::GuiDriver& driver, const std::string& title, const std::function<void(HWND)>& check)
{
    driver.Step(title, [check](HWND window) {
        check(window);
        gt::Command(window, ID_APP_EXIT);
    });
}

TEST_F(StartUp, FirstStartCreatesFoldersAndDefaultProfileSilently)
{
    gt::GuiDriver driver;
    bool tipShown = false;
    std::vector<std::string> items;
    std::vector<std::string> tips;
    LRESULT dragIcon = 0, bigIcon = 0, smallIcon = 0;
    ExitWhenShown(driver, "Zephlaunch - zephlaunch", [&](HWND window) {
        for (int id : {IDC_SERVICES, IDC_PROGRAMS, IDC_CONFIGURE, IDC_START, IDC_PROFILE_LIST})
            tips.push_back(gt::ToolTipText(window, id));
        dragIcon = ::SendMessageA(window, WM_QUERYDRAGICON, 0, 0);
        bigIcon = ::SendMessageA(window, WM_GETICON, ICON_BIG, 0);
        smallIcon = ::SendMessageA(window, WM_GETICON, ICON_SMALL, 0);
        gt::SaveWindowScreenshot(window, "startup-first-start");
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        items = gt::ListItems(list);
        EXPECT_EQ(gt::SelectedItem(list), 0);
        tipShown = gt::ToolTipAppearsOver(window, IDC_SERVICES, "main-window-tool-tip");
    });
    driver.Start();
    gt::RunApplicationOnce();
    driver.StopAndExpectClean();
    EXPECT_TRUE(FolderExists(gt::SettingsFolder()));
    EXPECT_TRUE(FolderExists(gt::ProfilesFolder()));
    EXPECT_EQ(zt::ReadFileBytes(gt::DefaultProfile()),
              gt::IniText("[Configuration]\ndescription=This is the default profile\n"));
    EXPECT_EQ(items, std::vector<std::string>{"zephlaunch"});
    EXPECT_TRUE(tipShown) << "tool tips should be active on a first start";
    EXPECT_EQ(tips, (std::vector<std::string>{
                        "Configure which services to automatically stop or restart in the selected profile",
                        "Configure which programs to automatically stop or restart in the selected profile",
                        "Configure other aspects in the selected profile",
                        "Start Zephlaunch with the selected profile", "<no tool>"}));
    const LRESULT windowIcon =
        reinterpret_cast<LRESULT>(::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_ZEPHLAUNCH)));
    EXPECT_NE(windowIcon, 0);
    EXPECT_EQ(dragIcon, windowIcon);
    EXPECT_EQ(bigIcon, windowIcon);
    EXPECT_EQ(smallIcon, windowIcon);
    // The service-help file that ships beside the program is copied in on a first start.
    ASSERT_TRUE(zt::FileExists(zt::BinPath("zephlaunch_service.ini")));
    EXPECT_EQ(zt::ReadFileBytes(gt::ServiceHelpFile()),
              zt::ReadFileBytes(zt::BinPath("zephlaunch_service.ini")));
}

TEST_F(StartUp, MissingProfilesFolderIsCreatedInsideAnExistingSettingsFolder)
{
    ASSERT_TRUE(::CreateDirectoryA(gt::SettingsFolder().c_str(), nullptr));
    gt::GuiDriver driver;
    ExitWhenShown(driver, "Zephlaunch - zephlaunch", [](HWND) {});
    driver.Start();
    gt::RunMainWindow();
    driver.StopAndExpectClean();
    EXPECT_TRUE(FolderExists(gt::ProfilesFolder()));
    EXPECT_TRUE(zt::FileExists(gt::DefaultProfile()));
}

TEST_F(StartUp, FolderThatCannotBeCreatedEndsTheProgramWithItsPathAndErrorCode)
{
    // A file where the settings folder belongs.
    zt::WriteFileBytes(gt::SettingsFolder(), "not a folder");

    gt::GuiDriver driver;
    driver.Answer({IDOK});
    driver.Start();
    INT_PTR result = gt::RunMainWindow();
    driver.Stop();

    EXPECT_EQ(result, 0);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    const gt::SeenMessageBox& box = driver.MessageBoxes()[0];
    EXPECT_EQ(box.caption, "Zephlaunch");
    EXPECT_EQ(box.text, "Unable to create application data folder for Zephlaunch!\r\nPath = "
                            + gt::SettingsFolder() + "\r\nError = " + std::to_string(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(box.icon, BoxIcon::Hand);
    EXPECT_EQ(zt::ReadFileBytes(gt::SettingsFolder()), "not a folder");
}

const char kMoveNotice[] =
    "Zephlaunch now stores all configuration and profiles in a folder under the user profile.\r\n\n"
    "Zephlaunch will now move your configuration and profile files from the Windows folder to this new "
    "folder.\r\n"
    "NOTE:  Window positions will be reset since they have changed.\r\n\nNew folder = ";
const char kProfilesNotice[] =
    "If you created any profiles, you will need to move them to the following folder:\r\n\n";

void ExpectBothMigrationMessages(const gt::GuiDriver& driver, size_t more = 0)
{
    ASSERT_EQ(driver.MessageBoxes().size(), 2u + more);
    EXPECT_EQ(driver.MessageBoxes()[0].text, kMoveNotice + gt::SettingsFolder());
    EXPECT_EQ(driver.MessageBoxes()[1].text, kProfilesNotice + gt::ProfilesFolder());
    for (const gt::SeenMessageBox& box : driver.MessageBoxes()) {
        EXPECT_EQ(box.caption, "Zephlaunch");
        EXPECT_EQ(box.icon,
                  &box - &driver.MessageBoxes()[0] == 2 ? BoxIcon::Exclamation : BoxIcon::Information);
    }
}

TEST_F(StartUp, MigrationMovesServiceHelpAndDefaultProfileOnce)
{
    const std::string windows = gt::WindowsFolder();
    const std::string oldProfile =
        gt::IniText("[Configuration]\ndescription=Old default\nfspath=C:\\old.exe\n");
    const std::string oldHelp = gt::IniText("[ServicesHelp]\nSpooler=Printing\n");
    zt::WriteFileBytes(windows + "\\zephlaunch_windowpos.ini",
                       gt::IniText("[MainWindow]\nleft=77\ntop=66\nright=577\nbottom=466\n"));
    zt::WriteFileBytes(windows + "\\zephlaunch_service.ini", oldHelp);
    zt::WriteFileBytes(windows + "\\zephlaunch.ini", oldProfile);
    // Options saved in the new folder before are reset by the move.
    ASSERT_TRUE(::CreateDirectoryA(gt::SettingsFolder().c_str(), nullptr));
    zt::WriteFileBytes(gt::WindowPosFile(), gt::IniText("[ProgramOptions]\nShowToolTips=0\n"));

    // As for a user without administrator rights: the old files can be read, not removed.
    HANDLE held[2];
    for (int i = 0; i < 2; ++i)
        held[i] = ::CreateFileA((windows + (i ? "\\zephlaunch.ini" : "\\zephlaunch_windowpos.ini")).c_str(),
                                GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK, IDOK});
    std::string rect;
    bool tipShown = false;
    ExitWhenShown(driver, "Zephlaunch - zephlaunch", [&](HWND window) {
        rect = gt::RectText(window);
        tipShown = gt::ToolTipAppearsOver(window, IDC_PROGRAMS);
    });
    driver.Start();
    gt::RunMainWindow();
    driver.Stop();
    for (HANDLE handle : held)
        ::CloseHandle(handle);

    ASSERT_NO_FATAL_FAILURE(ExpectBothMigrationMessages(driver, 1));
    EXPECT_EQ(driver.MessageBoxes()[2].text,
              "These steps of the move from the Windows folder failed:\r\n\nDelete " + windows
                  + "\\zephlaunch_windowpos.ini: error 32\r\nDelete " + windows
                  + "\\zephlaunch.ini: error 32\r\n");
    EXPECT_TRUE(driver.AllStepsRun());
    EXPECT_EQ(zt::ReadFileBytes(gt::DefaultProfile()), oldProfile);
    EXPECT_EQ(zt::ReadFileBytes(gt::ServiceHelpFile()), oldHelp);
    EXPECT_FALSE(zt::FileExists(windows + "\\zephlaunch_service.ini"));
    EXPECT_NE(rect, "77,66,577,466") << "the old window position is not carried over";
    EXPECT_TRUE(tipShown) << "ShowToolTips=0 of the reset file must not survive";
    EXPECT_EQ(gt::ReadIni(gt::WindowPosFile(), "ProgramOptions", "ShowToolTips"), "<missing>");

    gt::GuiDriver second;
    ExitWhenShown(second, "Zephlaunch - zephlaunch", [](HWND) {});
    second.Start();
    gt::RunMainWindow();
    second.Stop();
    EXPECT_TRUE(second.MessageBoxes().empty()) << "the move happens only once, though the old files stay";
    EXPECT_EQ(zt::ReadFileBytes(gt::DefaultProfile()), oldProfile);
}

TEST_F(StartUp, MigrationWithOnlyTheWindowPositionFileMovesNothing)
{
    const std::string windows = gt::WindowsFolder();
    zt::WriteFileBytes(windows + "\\zephlaunch_windowpos.ini",
                       gt::IniText("[MainWindow]\nleft=10\ntop=10\nright=400\nbottom=300\n"));

    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK});
    ExitWhenShown(driver, "Zephlaunch - zephlaunch", [](HWND) {});
    driver.Start();
    gt::RunMainWindow();
    driver.Stop();

    ExpectBothMigrationMessages(driver);
    EXPECT_FALSE(zt::FileExists(windows + "\\zephlaunch_windowpos.ini"));
    // Nothing to move: the help file is the copy that ships beside the program.
    EXPECT_EQ(zt::ReadFileBytes(gt::ServiceHelpFile()),
              zt::ReadFileBytes(zt::BinPath("zephlaunch_service.ini")));
    EXPECT_EQ(zt::ReadFileBytes(gt::DefaultProfile()),
              gt::IniText("[Configuration]\ndescription=This is the default profile\n"));
}

}  // namespace
