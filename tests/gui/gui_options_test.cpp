// Remembered main-window rectangle and the tool-tip option (Program Options dialog).
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

const char kMain[] = "Zephlaunch - zephlaunch";

class Options : public gt::FreshSettingsTest {
protected:
    static void Run(gt::GuiDriver& driver) { gt::RunMainWindowScript(driver); }

    static std::string SavedRect() { return gt::SavedRect("MainWindow"); }

    // The main window's rectangle when nothing is restored.
    static std::string TemplateRect()
    {
        gt::GuiDriver driver;
        std::string rect;
        driver.Step(kMain, [&](HWND window) {
            rect = gt::RectText(window);
            gt::Command(window, IDCANCEL);
        });
        Run(driver);
        return rect;
    }
};

TEST_F(Options, CloseBoxSavesTheOuterRectangle)
{
    gt::GuiDriver driver;
    std::string rectAtClose;
    driver.Step(kMain, [&](HWND window) {
        ::SetWindowPos(window, nullptr, 130, 90, 520, 330, SWP_NOZORDER);
        rectAtClose = gt::RectText(window);
        ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    Run(driver);
    EXPECT_EQ(rectAtClose, "130,90,650,420");
    EXPECT_EQ(SavedRect(), rectAtClose);
}

// The list keeps its distances to the right and bottom edges; the buttons stay put.
TEST_F(Options, ResizingStretchesTheProfileListOnly)
{
    gt::GuiDriver driver;
    RECT listBefore = {}, listAfter = {}, clientBefore = {}, clientAfter = {}, buttonBefore = {},
         buttonAfter = {};
    driver.Step(kMain, [&](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        auto place = [&](HWND child, RECT* rect) {
            ::GetWindowRect(child, rect);
            ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(rect), 2);
        };
        ::GetClientRect(window, &clientBefore);
        place(list, &listBefore);
        place(gt::Item(window, IDC_START), &buttonBefore);
        RECT outer;
        ::GetWindowRect(window, &outer);
        ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + 150, outer.bottom - outer.top + 90,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::GetClientRect(window, &clientAfter);
        place(list, &listAfter);
        place(gt::Item(window, IDC_START), &buttonAfter);
        gt::SaveWindowScreenshot(window, "main-window-resized");
        gt::Command(window, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(clientAfter.right - clientBefore.right, 150);
    EXPECT_EQ(listAfter.left, listBefore.left);
    EXPECT_EQ(listAfter.top, listBefore.top);
    EXPECT_EQ(clientAfter.right - listAfter.right, clientBefore.right - listBefore.right);
    EXPECT_EQ(clientAfter.bottom - listAfter.bottom, clientBefore.bottom - listBefore.bottom);
    EXPECT_EQ(buttonAfter.left, buttonBefore.left);
    EXPECT_EQ(buttonAfter.top, buttonBefore.top);
}

TEST_F(Options, EscapeEndsTheProgramWithoutSavingTheRectangle)
{
    gt::GuiDriver driver;
    driver.Step(kMain, [](HWND window) {
        HWND list = gt::Item(window, IDC_PROFILE_LIST);
        ::SetFocus(list);
        ::PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    Run(driver);
    EXPECT_EQ(SavedRect(), "<missing>,<missing>,<missing>,<missing>");
}

TEST_F(Options, SavedRectangleIsRestoredOnlyWhenLeftOrTopIsNonZero)
{
    const std::string templateRect = TemplateRect();
    struct Case {
        const char* saved;  // left, top, right, bottom
        bool applied;
    };
    const Case cases[] = {
        {"0,150,700,550", true}, {"140,0,700,550", true}, {"-60,40,500,400", true}, {"0,0,700,550", false}};
    for (const Case& c : cases) {
        int l, t, r, b;
        ASSERT_EQ(std::sscanf(c.saved, "%d,%d,%d,%d", &l, &t, &r, &b), 4);
        zt::WriteFileBytes(
            gt::WindowPosFile(),
            gt::IniText("[MainWindow]\nleft=" + std::to_string(l) + "\ntop=" + std::to_string(t)
                        + "\nright=" + std::to_string(r) + "\nbottom=" + std::to_string(b) + "\n"));
        gt::GuiDriver driver;
        std::string shown;
        driver.Step(kMain, [&](HWND window) {
            shown = gt::RectText(window);
            gt::Command(window, IDCANCEL);
        });
        Run(driver);
        EXPECT_EQ(shown, c.applied ? std::string(c.saved) : templateRect) << c.saved;
    }
}

TEST_F(Options, ShowToolTipsZeroDeactivatesTheTipsOfEveryWindow)
{
    zt::WriteFileBytes(gt::WindowPosFile(), gt::IniText("[ProgramOptions]\nShowToolTips=0\n"));
    gt::GuiDriver driver;
    bool mainTip = true, optionsTip = true, newProfileTip = true, mainTipAfter = true;
    int ticked = -1;
    driver.Step(kMain, [&](HWND window) {
        mainTip = !gt::ToolTipStaysHidden(window, IDC_START);
        gt::Command(window, ID_TOOLS_PROGRAM_OPTIONS);
    });
    driver.Step("Program Options", [&](HWND dialog) {
        gt::SaveWindowScreenshot(dialog, "program-options-dialog");
        ticked = static_cast<int>(::SendMessageA(gt::Item(dialog, IDC_ENABLE_TOOLTIPS), BM_GETCHECK, 0, 0));
        optionsTip = !gt::ToolTipStaysHidden(dialog, IDOK);
        // Tick, then leave with the close box: nothing changes.
        gt::Click(dialog, IDC_ENABLE_TOOLTIPS);
        ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    driver.Step(kMain, [&](HWND window) {
        mainTipAfter = !gt::ToolTipStaysHidden(window, IDC_START);
        gt::Command(window, ID_FILE_NEW);
    });
    driver.Step("New Profile", [&](HWND dialog) {
        newProfileTip = !gt::ToolTipStaysHidden(dialog, IDOK);
        gt::Command(dialog, IDCANCEL);
    });
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    Run(driver);
    EXPECT_EQ(ticked, 0);
    EXPECT_FALSE(mainTip);
    EXPECT_FALSE(optionsTip);
    EXPECT_FALSE(mainTipAfter);
    EXPECT_FALSE(newProfileTip);
    EXPECT_EQ(gt::ReadIni(gt::WindowPosFile(), "ProgramOptions", "ShowToolTips"), "0");
}

TEST_F(Options, SavingProgramOptionsStoresTheChoiceAndAppliesItAtOnce)
{
    gt::GuiDriver driver;
    bool tipInsideAfterUntick = true, mainTipAfter = true, newProfileTip = true;
    int ticked = -1;
    std::vector<std::string> optionTips, newProfileTips;
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_TOOLS_PROGRAM_OPTIONS); });
    driver.Step("Program Options", [&](HWND dialog) {
        optionTips = {gt::ToolTipText(dialog, IDOK), gt::ToolTipText(dialog, IDC_ENABLE_TOOLTIPS)};
        ticked = static_cast<int>(::SendMessageA(gt::Item(dialog, IDC_ENABLE_TOOLTIPS), BM_GETCHECK, 0, 0));
        ::SendMessageA(gt::Item(dialog, IDC_ENABLE_TOOLTIPS), BM_CLICK, 0, 0);
        tipInsideAfterUntick = !gt::ToolTipStaysHidden(dialog, IDOK);
        gt::Click(dialog, IDOK);
    });
    driver.Step(kMain, [&](HWND window) {
        mainTipAfter = !gt::ToolTipStaysHidden(window, IDC_SERVICES);
        gt::Command(window, ID_FILE_NEW);
    });
    driver.Step("New Profile", [&](HWND dialog) {
        newProfileTips.clear();
        for (int id : {IDOK, IDC_NEW_PROFILE_BLANK, IDC_NEW_PROFILE_COPY, IDC_NEW_PROFILE_NAME,
                       IDC_NEW_PROFILE_DESCRIPTION})
            newProfileTips.push_back(gt::ToolTipText(dialog, id));
        newProfileTip = !gt::ToolTipStaysHidden(dialog, IDOK);
        gt::Command(dialog, IDCANCEL);
    });
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_APP_EXIT); });
    Run(driver);
    EXPECT_EQ(ticked, 1);
    EXPECT_EQ(optionTips, (std::vector<std::string>{"Save changes", "Set to enable or disable Tool Tips"}));
    EXPECT_EQ(newProfileTips,
              (std::vector<std::string>{"Save changes", "Set to create a blank profile",
                                        "Set to create a copy of the currently selected profile",
                                        "Enter the name of the new profile.",
                                        "Enter a description for the new profile."}));
    EXPECT_FALSE(tipInsideAfterUntick) << "unticking deactivates the dialog's own tips at once";
    EXPECT_FALSE(mainTipAfter);
    EXPECT_FALSE(newProfileTip);
    EXPECT_EQ(gt::ReadIni(gt::WindowPosFile(), "ProgramOptions", "ShowToolTips"), "0");
}

}  // namespace
