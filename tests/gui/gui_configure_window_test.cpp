// The Configure dialog as a window: its remembered rectangle, the resize layout, its
// tool tips, and the way in from the main window's Configure button.
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

#include <cstdio>
#include <functional>

namespace {

using gt::kConfigureTitle;

class ConfigureWindow : public gt::ConfigureTest {
protected:
    static void WriteRect(int l, int t, int r, int b)
    {
        char text[200];
        std::snprintf(text, sizeof text, "[ConfigureWindow]\nleft=%d\ntop=%d\nright=%d\nbottom=%d\n", l, t, r,
                      b);
        zt::WriteFileBytes(gt::WindowPosFile(), gt::IniText(text));
    }

    // The dialog's rectangle as it opens, then leaves as leave() says.
    static std::string OpenedRect(const std::function<void(HWND)>& leave, INT_PTR* result = nullptr)
    {
        gt::GuiDriver driver;
        std::string rect;
        driver.Step(kConfigureTitle, [&](HWND dialog) {
            rect = gt::RectText(dialog);
            leave(dialog);
        });
        INT_PTR r = RunConfigure(driver);
        if (result)
            *result = r;
        return rect;
    }
};

TEST_F(ConfigureWindow, SavedRectangleIsAppliedOnlyWhenLeftOrTopIsNonZero)
{
    WriteProfile("[Configuration]\n");
    INT_PTR result = 0;
    const std::string templateRect = OpenedRect([](HWND d) { gt::Command(d, IDCANCEL); }, &result);
    EXPECT_EQ(result, IDCANCEL);

    WriteRect(0, 0, 900, 700);
    EXPECT_EQ(OpenedRect([](HWND d) { gt::Command(d, IDCANCEL); }), templateRect);
    WriteRect(0, 60, 700, 640);
    EXPECT_EQ(OpenedRect([](HWND d) { gt::Command(d, IDCANCEL); }), "0,60,700,640");
    WriteRect(90, 0, 760, 600);
    EXPECT_EQ(OpenedRect([](HWND d) { gt::Command(d, IDCANCEL); }), "90,0,760,600");
}

TEST_F(ConfigureWindow, CloseBoxSavesTheRectangleAndEscapeDoesNot)
{
    WriteProfile("[Configuration]\ndescription=Untouched\n");
    const std::string original = zt::ReadFileBytes(Profile());
    gt::GuiDriver escape;
    escape.Step(kConfigureTitle, [](HWND dialog) {
        ::SetWindowPos(dialog, nullptr, 120, 70, 600, 560, SWP_NOZORDER);
        gt::TypeText(dialog, IDC_CONFIGURE_DESCRIPTION, "Changed");
        HWND list = gt::Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST);
        ::SetFocus(list);
        ::PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    escape.Answer({IDNO});
    EXPECT_EQ(RunConfigure(escape), IDCANCEL);
    EXPECT_EQ(SavedRect(), "<missing>,<missing>,<missing>,<missing>");

    gt::GuiDriver close;
    std::string rectAtClose;
    close.Step(kConfigureTitle, [&](HWND dialog) {
        ::SetWindowPos(dialog, nullptr, 120, 70, 600, 560, SWP_NOZORDER);
        gt::TypeText(dialog, IDC_CONFIGURE_DESCRIPTION, "Changed");
        rectAtClose = gt::RectText(dialog);
        ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    close.Step(kConfigureTitle, [](HWND dialog) {  // Cancel returned to the dialog
        ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    close.Answer({IDCANCEL, IDNO});
    EXPECT_EQ(RunConfigure(close), IDCANCEL);
    EXPECT_EQ(close.MessageBoxes().size(), 2u);
    EXPECT_EQ(rectAtClose, "120,70,720,630");
    EXPECT_EQ(SavedRect(), rectAtClose);
    EXPECT_EQ(zt::ReadFileBytes(Profile()), original);
}

struct Place {
    int left, top, right, bottom;
};

Place PlaceOf(HWND dialog, int id)
{
    RECT rect = {};
    ::GetWindowRect(gt::Item(dialog, id), &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

TEST_F(ConfigureWindow, ResizingStretchesFieldsAndListAndMovesTheButtons)
{
    WriteProfile("[AutoStart]\nC:\\Tools\\a.exe=-a|5\n");
    const int ids[] = {IDC_CONFIGURE_DESCRIPTION,
                       IDC_CONFIGURE_APP_PATH,
                       IDC_CONFIGURE_CMDLINE,
                       IDC_CONFIGURE_NONRESPONSE,
                       IDC_CONFIGURE_APP_GROUP,
                       IDC_CONFIGURE_MISC_GROUP,
                       IDC_CONFIGURE_AUTOSTART_LIST,
                       IDC_CONFIGURE_AUTOSTART_GROUP,
                       IDC_CONFIGURE_BROWSE,
                       IDC_CONFIGURE_NOT_MAIN_APP,
                       IDC_CONFIGURE_ADD,
                       IDC_CONFIGURE_EDIT,
                       IDC_CONFIGURE_DELETE,
                       IDC_CONFIGURE_SAVE,
                       IDC_CONFIGURE_PRIORITY,
                       IDC_CONFIGURE_DEFRAG};
    const int count = sizeof ids / sizeof ids[0];
    std::vector<Place> before, after;
    int dx = 0, dy = 0;
    gt::GuiDriver driver;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        RECT clientBefore, clientAfter, outer;
        ::GetClientRect(dialog, &clientBefore);
        for (int id : ids)
            before.push_back(PlaceOf(dialog, id));
        ::GetWindowRect(dialog, &outer);
        ::SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + 160, outer.bottom - outer.top + 100,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::GetClientRect(dialog, &clientAfter);
        dx = clientAfter.right - clientBefore.right;
        dy = clientAfter.bottom - clientBefore.bottom;
        for (int id : ids)
            after.push_back(PlaceOf(dialog, id));
        gt::SaveWindowScreenshot(dialog, "configure-dialog-resized");
        gt::Command(dialog, IDCANCEL);
    });
    RunConfigure(driver);
    ASSERT_EQ(static_cast<int>(after.size()), count);
    EXPECT_EQ(dx, 160);
    EXPECT_EQ(dy, 100);
    for (int i = 0; i < count; ++i) {
        const Place& b = before[i];
        const Place& a = after[i];
        int id = ids[i];
        bool stretchRight = i < 8;
        bool growDown = i == 6 || i == 7;
        bool moveRight = i >= 8 && i < 14;
        bool moveDown = i >= 10 && i < 14;
        EXPECT_EQ(a.left, b.left + (moveRight ? dx : 0)) << id;
        EXPECT_EQ(a.right, b.right + (stretchRight || moveRight ? dx : 0)) << id;
        EXPECT_EQ(a.top, b.top + (moveDown ? dy : 0)) << id;
        EXPECT_EQ(a.bottom, b.bottom + (growDown || moveDown ? dy : 0)) << id;
    }
}

TEST_F(ConfigureWindow, ToolTipsCarryTheirTextsAndTitle)
{
    WriteProfile("[Configuration]\n");
    gt::GuiDriver driver;
    std::vector<std::string> tips;
    bool shown = false;
    int tools = 0;
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        for (int id : {IDC_CONFIGURE_DESCRIPTION, IDC_CONFIGURE_SAVE, IDC_CONFIGURE_DO_NOT_LAUNCH,
                       IDC_CONFIGURE_IDLE_TASKS, IDC_CONFIGURE_RESTART})
            tips.push_back(gt::ToolTipText(dialog, id));
        HWND tip = gt::ToolTipOf(dialog);
        tools = tip ? static_cast<int>(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0)) : 0;
        shown = gt::ToolTipAppearsOver(dialog, IDC_CONFIGURE_BROWSE, "configure-tool-tip");
        gt::Command(dialog, IDCANCEL);
    });
    RunConfigure(driver);
    EXPECT_EQ(tools, 22);
    EXPECT_TRUE(shown);
    ASSERT_EQ(tips.size(), 5u);
    EXPECT_EQ(tips[0], "This field allows you to enter a description for this profile");
    EXPECT_EQ(tips[1], "Save changes");
    EXPECT_EQ(tips[2],
              "Set to not launch an application but pause\r\n\nUseful if you are constantly stopping and "
              "starting\nthe main application and don't want\nZephlaunch to restart services/programs");
    EXPECT_EQ(tips[3].rfind("Available only on Windows XP\nUsed as part of benchmarking", 0), 0u) << tips[3];
    EXPECT_NE(tips[3].find("following web link:\nhttp://www.microsoft.com/"), std::string::npos) << tips[3];
    EXPECT_EQ(tips[4], "Set to restart the computer after Zephlaunch Control has finished");
}

// The Configure button runs the dialog on the current profile; afterwards the profile
// list shows the new description and the main application's icon.
TEST_F(ConfigureWindow, ConfigureButtonEditsTheCurrentProfileAndRefillsTheList)
{
    WriteProfile("[Configuration]\ndescription=This is the default profile\n");
    const std::string app = zt::BinPath("Zephlaunch.exe");
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    bool mainEnabledDuringDialog = true;
    std::string description;
    int image = -1;
    HWND mainWindow = nullptr;
    driver.Step("Zephlaunch - zephlaunch", [&](HWND window) {
        mainWindow = window;
        gt::Click(window, IDC_CONFIGURE);
    });
    driver.Step(kConfigureTitle, [&](HWND dialog) {
        mainEnabledDuringDialog = ::IsWindowEnabled(mainWindow) != FALSE;
        gt::SaveWindowScreenshot(dialog, "configure-dialog");
        gt::TypeText(dialog, IDC_CONFIGURE_DESCRIPTION, "Racing night");
        gt::TypeText(dialog, IDC_CONFIGURE_APP_PATH, app);
        gt::Click(dialog, IDC_CONFIGURE_SAVE);
    });
    driver.Step("Zephlaunch - zephlaunch", [&](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        char text[256] = {};
        LVITEMA item = {};
        item.iSubItem = 1;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
        description = text;
        image = gt::ListImage(list, 0);
        gt::Command(window, ID_APP_EXIT);
    });
    driver.Start();
    gt::RunMainWindow();
    driver.Stop();
    EXPECT_FALSE(driver.WatchdogFired());
    EXPECT_TRUE(driver.AllStepsRun()) << driver.StepsRun();
    EXPECT_FALSE(mainEnabledDuringDialog) << "the main window takes no commands while Configure runs";
    EXPECT_EQ(description, "Racing night");
    EXPECT_EQ(image, 1);
    EXPECT_EQ(gt::ReadIni(Profile(), "Configuration", "fspath"), app);
}

}  // namespace
