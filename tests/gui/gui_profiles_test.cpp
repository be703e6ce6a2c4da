// The main window's profile list and the New and Delete commands, driven through the
// real controls, menus and message boxes; results read back from the list, the title
// and the profile files.
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <map>

namespace {

using gt::BoxIcon;

const char kMain[] = "Zephlaunch - zephlaunch";

class Profiles : public gt::FreshSettingsTest {
protected:
    Profiles() : FreshSettingsTest(true) {}
    void SetUp() override
    {
        FreshSettingsTest::SetUp();
        WriteProfile("zephlaunch", "[Configuration]\ndescription=This is the default profile\n");
    }

    static void WriteProfile(const std::string& name, const std::string& lines)
    {
        zt::WriteFileBytes(gt::ProfilePath(name), gt::IniText(lines));
    }

    // Runs the main window with the driver's script and checks it ran cleanly.
    static void Run(gt::GuiDriver& driver) { gt::RunMainWindowScript(driver); }

    static std::vector<std::string> Sorted(std::vector<std::string> items)
    {
        std::sort(items.begin(), items.end());
        return items;
    }
};

void Exit(HWND window) { gt::Command(window, ID_APP_EXIT); }

int IndexOf(HWND list, const std::string& name)
{
    std::vector<std::string> items = gt::ListItems(list);
    auto found = std::find(items.begin(), items.end(), name);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

void ClickItem(HWND window, const std::string& name, bool right = false)
{
    HWND list = gt::Item(window, IDC_PROFILE_LIST);
    int index = IndexOf(list, name);
    ASSERT_GE(index, 0) << name;
    gt::ClickAt(list, gt::ItemCentre(list, index), right);
}

std::string InfoTipOf(HWND window, int item)
{
    char buffer[1024] = {};
    NMLVGETINFOTIPA tip = {};
    tip.hdr.hwndFrom = gt::Item(window, IDC_PROFILE_LIST);
    tip.hdr.idFrom = IDC_PROFILE_LIST;
    tip.hdr.code = LVN_GETINFOTIPA;
    tip.pszText = buffer;
    tip.cchTextMax = sizeof buffer;
    tip.iItem = item;
    ::SendMessageA(window, WM_NOTIFY, IDC_PROFILE_LIST, reinterpret_cast<LPARAM>(&tip));
    return buffer;
}

TEST_F(Profiles, ListShowsNamesIconsOfMainApplicationsAndInfoTips)
{
    WriteProfile("my.test", "[Configuration]\ndescription=Dotted name\n");
    WriteProfile("with icon",
                 "[Configuration]\ndescription=Has an icon\nfspath=" + zt::BinPath("Zephlaunch.exe") + "\n");
    WriteProfile("same program", "[Configuration]\nfspath=" + zt::BinPath("Zephlaunch.exe") + "\n");
    WriteProfile("not a program", "[Configuration]\nfspath=" + gt::DefaultProfile() + "\n");
    WriteProfile("missing program", "[Configuration]\nfspath=C:\\nowhere\\gone.exe\n");
    for (const char* other : {"notes.txt", "race.ini~", "race.ini_old", "race.inibak"})
        zt::WriteFileBytes(gt::ProfilesFolder() + "\\" + other, "not a profile");

    gt::GuiDriver driver;
    std::vector<std::string> items;
    std::map<std::string, int> images;
    std::map<std::string, std::string> tips;
    int imageCount = 0;
    driver.Step(kMain, [&](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        items = gt::ListItems(list);
        for (size_t i = 0; i < items.size(); ++i) {
            images[items[i]] = gt::ListImage(list, static_cast<int>(i));
            tips[items[i]] = InfoTipOf(window, static_cast<int>(i));
        }
        imageCount = ImageList_GetImageCount(
            reinterpret_cast<HIMAGELIST>(::SendMessageA(list, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)));
        EXPECT_EQ(gt::SelectedItem(list), IndexOf(list, "zephlaunch"));
        gt::SaveWindowScreenshot(window, "profiles-list");
        Exit(window);
    });
    Run(driver);

    EXPECT_EQ(Sorted(items), (std::vector<std::string>{"missing program", "my.test", "not a program",
                                                       "same program", "with icon", "zephlaunch"}));
    EXPECT_EQ(images["with icon"], 1);
    EXPECT_EQ(images["same program"], 1) << "one image per main application";
    EXPECT_EQ(images["zephlaunch"], 0);
    EXPECT_EQ(images["not a program"], 0) << "a file without icons keeps the window icon";
    EXPECT_EQ(images["missing program"], 0);
    EXPECT_EQ(imageCount, 2);
    EXPECT_EQ(tips["my.test"], "Profile: my.test\r\nDescription: Dotted name");
    EXPECT_EQ(tips["not a program"], "Profile: not a program\r\nDescription: ");
}

TEST_F(Profiles, ClickMakesTheCurrentProfileAndKeyboardSelectionDoesNot)
{
    WriteProfile("my.test", "[Configuration]\ndescription=Dotted name\n");
    gt::GuiDriver driver;
    std::string afterClick, afterKeys;
    driver.Step(kMain, [&](HWND window) { ClickItem(window, "my.test"); });
    driver.Step("Zephlaunch - my", [&](HWND window) {
        afterClick = gt::TitleOf(window);
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        ::SetFocus(list);
        for (WPARAM key : {VK_RIGHT, VK_LEFT, VK_HOME, VK_END, VK_DOWN}) {
            ::PostMessageA(list, WM_KEYDOWN, key, 1);
            ::PostMessageA(list, WM_KEYUP, key, 0xC0000001);
        }
        gt::PumpUntil([] { return false; }, 300);
        afterKeys = gt::TitleOf(window);
        Exit(window);
    });
    Run(driver);
    EXPECT_EQ(afterClick, "Zephlaunch - my");
    EXPECT_EQ(afterKeys, "Zephlaunch - my");
}

// Chooses an item of the open context menu by its position (arrow keys and Enter);
// a negative position closes it with Escape.
gt::GuiDriver::Action ChooseFromMenu(int position)
{
    return [position](HWND menu) {
        for (int i = 0; i <= position; ++i)
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, position < 0 ? VK_ESCAPE : VK_RETURN, 0);
    };
}

TEST_F(Profiles, RightClickOnEmptySpaceKeepsTheProfileAndOnAnItemTakesIt)
{
    WriteProfile("racing", "[Configuration]\ndescription=Cars\n");
    gt::GuiDriver driver;
    std::string titleAfterEmptyClick;
    driver.Answer({IDYES});
    driver.Step(kMain, [&](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        RECT client;
        ::GetClientRect(list, &client);
        POINT empty = {client.right - 5, client.bottom - 5};
        ::ClientToScreen(list, &empty);
        gt::ClickAt(list, empty, true);
    });
    driver.StepInMenu([&](HWND menu) {
        gt::SaveWindowScreenshot(menu, "profiles-context-menu");
        titleAfterEmptyClick = gt::TitleOf(::GetActiveWindow());
        ChooseFromMenu(-1)(menu);
    });
    driver.Step(kMain, [](HWND window) { ClickItem(window, "racing", true); });
    driver.StepInMenu(ChooseFromMenu(1));  // Delete
    driver.Step(kMain, Exit);              // after the deletion item 0 is current again
    Run(driver);

    EXPECT_EQ(titleAfterEmptyClick, kMain);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              "Are you sure you want to remove profile:\r\n\n" + gt::ProfilePath("racing"));
    EXPECT_EQ(driver.MessageBoxes()[0].icon, BoxIcon::Question);
    EXPECT_TRUE(driver.MessageBoxes()[0].hasYesNo);
    EXPECT_FALSE(zt::FileExists(gt::ProfilePath("racing")));
}

// Fills in and saves the New Profile dialog: kind is the radio button id (0: none).
gt::GuiDriver::Action FillNewProfile(int kind, const std::string& name, const std::string& description)
{
    return [=](HWND dialog) {
        if (kind)
            gt::Click(dialog, kind);
        gt::TypeText(dialog, IDC_NEW_PROFILE_NAME, name);
        gt::TypeText(dialog, IDC_NEW_PROFILE_DESCRIPTION, description);
        gt::Click(dialog, IDOK);
    };
}

TEST_F(Profiles, NewBlankProfileWithSpacesBecomesCurrentAndSelected)
{
    gt::GuiDriver driver;
    int selected = -2;
    std::string selectedName;
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_FILE_NEW); });
    driver.Step("New Profile", [](HWND dialog) {
        gt::SaveWindowScreenshot(dialog, "new-profile-dialog");
        FillNewProfile(IDC_NEW_PROFILE_BLANK, "Night racing", "For racing")(dialog);
    });
    driver.Step("Zephlaunch - Night racing", [&](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        selected = gt::SelectedItem(list);
        selectedName = selected >= 0 ? gt::ListItems(list)[static_cast<size_t>(selected)] : "";
        Exit(window);
    });
    Run(driver);
    EXPECT_EQ(zt::ReadFileBytes(gt::ProfilePath("Night racing")),
              gt::IniText("[Configuration]\ndescription=For racing\n"));
    EXPECT_EQ(selectedName, "Night racing");
}

TEST_F(Profiles, NewCopyTakesTheCurrentProfileWithTheNewDescription)
{
    WriteProfile(
        "source",
        "[Configuration]\ndescription=Source\nfspath=C:\\game.exe\n[Programs]\nC:\\x.exe=Stop|x.exe\n");
    ASSERT_TRUE(::SetFileAttributesA(gt::ProfilePath("source").c_str(), FILE_ATTRIBUTE_READONLY));
    gt::GuiDriver driver;
    driver.Step(kMain, [](HWND window) { ClickItem(window, "source"); });
    driver.Step("Zephlaunch - source", [](HWND window) { gt::Command(window, ID_FILE_NEW); });
    driver.Step("New Profile", FillNewProfile(IDC_NEW_PROFILE_COPY, "copy", "Copied"));
    driver.Step("Zephlaunch - copy", Exit);
    Run(driver);
    EXPECT_EQ(gt::ReadIni(gt::ProfilePath("copy"), "Configuration", "description"), "Copied");
    EXPECT_EQ(::GetFileAttributesA(gt::ProfilePath("copy").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(gt::ReadIni(gt::ProfilePath("copy"), "Configuration", "fspath"), "C:\\game.exe");
    EXPECT_EQ(gt::ReadIni(gt::ProfilePath("copy"), "Programs", "C:\\x.exe"), "Stop|x.exe");
    EXPECT_EQ(gt::ReadIni(gt::ProfilePath("source"), "Configuration", "description"), "Source");
}

TEST_F(Profiles, NewWithAnExistingNameAsksBeforeOverwritingAndSaysWhatFailed)
{
    WriteProfile("taken", "[Configuration]\ndescription=Keep me\nfspath=C:\\a.exe\n");
    HANDLE held = nullptr;
    const std::string away = gt::ProfilesFolder() + ".away";
    gt::GuiDriver driver;
    driver.Answer({IDNO, IDYES, IDOK, IDOK, IDYES});
    // No; Yes while the file is held open (not deletable); the profiles folder gone; Yes.
    for (int i = 0; i < 4; ++i) {
        driver.Step(kMain, [&held, &away, i](HWND window) {
            ::CloseHandle(held);
            ::MoveFileA(away.c_str(), gt::ProfilesFolder().c_str());
            EXPECT_EQ(gt::ReadIni(gt::ProfilePath("taken"), "Configuration", "description"), "Keep me");
            held = i != 1 ? nullptr
                          : ::CreateFileA(gt::ProfilePath("taken").c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                          nullptr);
            if (i == 2)
                ::MoveFileA(gt::ProfilesFolder().c_str(), away.c_str());
            gt::Command(window, ID_FILE_NEW);
        });
        driver.Step("New Profile",
                    FillNewProfile(IDC_NEW_PROFILE_BLANK, i == 2 ? "new" : "taken", "Replaced"));
    }
    driver.Step("Zephlaunch - taken", Exit);
    Run(driver);
    ::CloseHandle(held);  // where the script broke off
    ASSERT_EQ(driver.MessageBoxes().size(), 5u);
    for (size_t i : {0, 1, 4}) {
        const gt::SeenMessageBox& box = driver.MessageBoxes()[i];
        EXPECT_EQ(box.text, "There is already a profile with this name.  Do you want to overwrite it?");
        EXPECT_EQ(box.caption, "Zephlaunch");
        EXPECT_EQ(box.icon, BoxIcon::Question);
        EXPECT_TRUE(box.hasYesNo);
    }
    EXPECT_EQ(driver.MessageBoxes()[2].text,
              "The profile could not be made:\r\n\n" + gt::ProfilePath("taken") + "\r\n\nError = 32");
    EXPECT_EQ(driver.MessageBoxes()[3].text,
              "The profile could not be made:\r\n\n" + gt::ProfilePath("new") + "\r\n\nError = 3");
    EXPECT_EQ(zt::ReadFileBytes(gt::ProfilePath("taken")),
              gt::IniText("[Configuration]\ndescription=Replaced\n"));
}

TEST_F(Profiles, CopyOntoTheCurrentProfileFailsWithTheSystemErrorCode)
{
    const std::string original = gt::IniText("[Configuration]\ndescription=Mine\nfspath=C:\\m.exe\n");
    zt::WriteFileBytes(gt::ProfilePath("mine"), original);
    // What the system says when a file is copied onto itself.
    const std::string scratch = gt::SettingsFolder() + "\\scratch.ini";
    zt::WriteFileBytes(scratch, "x");
    ASSERT_FALSE(::CopyFileA(scratch.c_str(), scratch.c_str(), FALSE));
    const int expectedError = static_cast<int>(::GetLastError());
    ::DeleteFileA(scratch.c_str());

    gt::GuiDriver driver;
    driver.Answer({IDYES, IDOK});
    std::string titleAfter;
    driver.Step(kMain, [](HWND window) { ClickItem(window, "mine"); });
    driver.Step("Zephlaunch - mine", [](HWND window) { gt::Command(window, ID_FILE_NEW); });
    driver.Step("New Profile", FillNewProfile(IDC_NEW_PROFILE_COPY, "mine", "Other"));
    driver.Step("Zephlaunch - mine", Exit);
    Run(driver);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(driver.MessageBoxes()[1].text, "Unable to create copy of current configuration file (error = "
                                                 + std::to_string(expectedError) + ").");
    EXPECT_EQ(driver.MessageBoxes()[1].icon, BoxIcon::Exclamation);
    EXPECT_EQ(zt::ReadFileBytes(gt::ProfilePath("mine")), original);
}

TEST_F(Profiles, NewProfileDialogRefusesMissingAnswersAndUnusableNames)
{
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK, IDOK, IDOK, IDOK, IDOK});
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_FILE_NEW); });
    driver.Step("New Profile", FillNewProfile(0, "", ""));       // no name, no kind
    driver.Step("New Profile", FillNewProfile(0, "named", ""));  // no kind
    driver.Step("New Profile", FillNewProfile(IDC_NEW_PROFILE_COPY, "..\\..\\escape", ""));
    driver.Step("New Profile", FillNewProfile(IDC_NEW_PROFILE_COPY, "a:b", ""));
    driver.Step("New Profile", FillNewProfile(IDC_NEW_PROFILE_COPY, "..", ""));
    driver.Step("New Profile", FillNewProfile(IDC_NEW_PROFILE_COPY, "COM1", ""));
    driver.Step("New Profile", [](HWND dialog) {
        EXPECT_EQ(gt::TitleOf(gt::Item(dialog, IDC_NEW_PROFILE_NAME)), "COM1")
            << "the entry stays for correction";
        gt::Command(dialog, IDCANCEL);
    });
    driver.Step(kMain, Exit);
    Run(driver);

    std::vector<std::string> texts;
    for (const gt::SeenMessageBox& box : driver.MessageBoxes()) {
        texts.push_back(box.text);
        EXPECT_EQ(box.icon, BoxIcon::Exclamation) << box.text;
        EXPECT_EQ(box.caption, "Zephlaunch");
    }
    const std::string forbidden =
        "A profile name cannot contain any of the following characters:\r\n\\ / : * ? \" < > |";
    EXPECT_EQ(texts,
              (std::vector<std::string>{
                  "You must enter a name for this profile.",
                  "You must select either a Blank profile or a Copy of the Current Profile.", forbidden,
                  forbidden, "A profile name cannot be \".\" or \"..\".",
                  "\"COM1\" is reserved by Windows for a device and cannot be used as a profile name."}));
    EXPECT_FALSE(zt::FileExists(gt::AppDataFolder() + "\\escape.ini"))
        << "nothing written outside the profiles folder";
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((gt::ProfilesFolder() + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back(found.cFileName);
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    EXPECT_EQ(files, std::vector<std::string>{"zephlaunch.ini"});
}

TEST_F(Profiles, DeleteIsRefusedForEveryProfileTitledZephlaunch)
{
    // Windows ignores case in file names: ZEPHLAUNCH.ini is the default profile's file.
    ASSERT_TRUE(::DeleteFileA(gt::DefaultProfile().c_str()));
    WriteProfile("ZEPHLAUNCH", "[Configuration]\ndescription=The default\n");
    WriteProfile("ZEPHLAUNCH.old", "[Configuration]\ndescription=Old\n");
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK});
    driver.Step(kMain, [](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        EXPECT_EQ(gt::SelectedItem(list), IndexOf(list, "ZEPHLAUNCH"));
        gt::Command(window, ID_FILE_DELETE);
    });
    driver.Step(kMain, [](HWND window) { ClickItem(window, "ZEPHLAUNCH.old"); });
    driver.Step("Zephlaunch - ZEPHLAUNCH", [](HWND window) {
        gt::Command(window, ID_FILE_DELETE);
        gt::Command(window, ID_APP_EXIT);
    });
    Run(driver);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    for (const gt::SeenMessageBox& box : driver.MessageBoxes()) {
        EXPECT_EQ(box.text, "The default profile cannot be removed.");
        EXPECT_EQ(box.icon, BoxIcon::Information);
    }
    EXPECT_TRUE(zt::FileExists(gt::DefaultProfile()));
    EXPECT_TRUE(zt::FileExists(gt::ProfilePath("ZEPHLAUNCH.old")));
}

TEST_F(Profiles, DeleteAsksFirstThenRemovesAndTakesTheFirstItem)
{
    WriteProfile("gone", "[Configuration]\ndescription=Soon gone\n");
    // Held open without sharing, the file cannot be removed until the last step.
    HANDLE held =
        ::CreateFileA(gt::ProfilePath("gone").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    gt::GuiDriver driver;
    driver.Answer({IDNO, IDYES, IDOK, IDYES});
    driver.Step(kMain, [](HWND window) { ClickItem(window, "gone"); });
    driver.Step("Zephlaunch - gone", [](HWND window) { gt::Command(window, ID_FILE_DELETE); });
    for (int i = 0; i < 2; ++i) {
        driver.Step("Zephlaunch - gone", [&held, i](HWND window) {
            EXPECT_EQ(gt::ListItems(gt::Item(window, IDC_PROFILE_LIST)).size(), 2u);
            if (i == 1 && ::CloseHandle(held))
                held = nullptr;
            gt::Command(window, ID_FILE_DELETE);
        });
    }
    driver.Step(kMain, [&](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        EXPECT_EQ(gt::ListItems(list), std::vector<std::string>{"zephlaunch"});
        EXPECT_EQ(gt::SelectedItem(list), 0);
        Exit(window);
    });
    Run(driver);
    ::CloseHandle(held);  // where the script broke off
    ASSERT_EQ(driver.MessageBoxes().size(), 4u);
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              "Are you sure you want to remove profile:\r\n\n" + gt::ProfilePath("gone"));
    EXPECT_EQ(driver.MessageBoxes()[2].text,
              "The profile could not be removed:\r\n\n" + gt::ProfilePath("gone") + "\r\n\nError = 32");
    EXPECT_FALSE(zt::FileExists(gt::ProfilePath("gone")));
}

TEST_F(Profiles, DeletingTheLastProfileLeavesAnEmptyListAndThePlainTitle)
{
    WriteProfile("solo", "[Configuration]\ndescription=Alone\n");
    gt::GuiDriver driver;
    driver.Answer({IDYES});
    size_t itemsLeft = 99;
    driver.Step(kMain, [](HWND window) {
        ::DeleteFileA(gt::DefaultProfile().c_str());  // removed behind the program's back
        ClickItem(window, "solo");
    });
    driver.Step("Zephlaunch - solo", [](HWND window) { gt::Command(window, ID_FILE_DELETE); });
    driver.Step("Zephlaunch", [&](HWND window) {
        itemsLeft = gt::ListItems(gt::Item(window, IDC_PROFILE_LIST)).size();
        gt::SaveWindowScreenshot(window, "profiles-empty-list");
        Exit(window);
    });
    Run(driver);
    EXPECT_EQ(itemsLeft, 0u);
    EXPECT_FALSE(zt::FileExists(gt::ProfilePath("solo")));
}

}  // namespace
