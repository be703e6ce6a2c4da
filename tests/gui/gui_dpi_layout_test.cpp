// Every window at 96, 144 and 192 DPI (read by Wine when a process starts: a child process per DPI),
// pictured as dpi<N>-<window>.png; no two controls may overlap and none may leave the client area.
#include "controls/icon_button.h"
#include "resource.h"
#include "support/action_lists.h"
#include "support/configure_helpers.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

const char kMain[] = "Zephlaunch - zephlaunch";
const int kDpi = std::getenv("ZEPH_DPI") ? std::atoi(std::getenv("ZEPH_DPI")) : 0;

class Tour {
public:
    std::map<std::string, std::string> layouts;  // client size and control places
    std::map<std::string, int> sizes;
    std::string problems;

    void Look(HWND window, const std::string& name, bool resizable = false)
    {
        gt::SaveWindowScreenshot(window, "dpi" + std::to_string(kDpi) + "-" + name + m_suffix);
        RECT client, before, after;
        ::GetClientRect(window, &client);
        std::string& layout = layouts[name] =
            std::to_string(client.right) + "x" + std::to_string(client.bottom);
        std::vector<RECT> seen;
        for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const LONG style = ::GetWindowLongA(child, GWL_STYLE);
            if (!(style & WS_VISIBLE) || (style & BS_TYPEMASK) == BS_GROUPBOX)  // a group box holds controls
                continue;
            RECT place, common;
            ::GetWindowRect(child, &place);
            ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            layout += " " + std::to_string(place.left) + "," + std::to_string(place.top);
            if (!::IntersectRect(&common, &place, &client) || !::EqualRect(&common, &place))
                problems +=
                    name + ": control " + std::to_string(::GetDlgCtrlID(child)) + " leaves the client\n";
            for (const RECT& other : seen)
                if (::IntersectRect(&common, &place, &other))
                    problems += name + ": control " + std::to_string(::GetDlgCtrlID(child)) + " overlaps\n";
            seen.push_back(place);
        }
        const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        if (!::GetWindowRect(window, &before) || !::IntersectRect(&client, &before, &screen)
            || !::EqualRect(&client, &before))
            problems += name + " lies off the screen\n";
        if (!resizable)
            return;
        ::SetWindowPos(window, nullptr, 0, 0, 30, 30, SWP_NOMOVE | SWP_NOZORDER);
        ::GetWindowRect(window, &after);
        if (after.right - after.left < before.right - before.left || after.bottom < before.bottom)
            problems += name + " shrinks below its least size\n";
    }

    void Run(const std::string& suffix)
    {
        m_suffix = suffix;
        gt::GuiDriver driver;
        auto open = [&](int command, const char* title, const char* name, const char* help = nullptr) {
            driver.Step(kMain, [this, command](HWND main) {
                if (!layouts.count("main"))
                    Look(main, "main", true);
                gt::Command(main, command);
            });
            driver.Step(title, [this, name, help](HWND dialog) {
                Look(dialog, name, help != nullptr);
                if (help)
                    Look(::FindWindowA(nullptr, help), std::string(name) + "-help");
                HWND rows = gt::Item(dialog, IDC_ACTION_LIST);
                RECT label = {LVIR_LABEL, 0, 0, 0};
                if (::SendMessageA(rows, LVM_GETITEMRECT, gt::FindRow(rows, "explorer.exe"),
                                   reinterpret_cast<LPARAM>(&label)))
                    sizes["explorer.exe fits"] =
                        label.right - label.left >= ListView_GetStringWidth(rows, "explorer.exe") + 4;
                gt::Command(dialog, IDCANCEL);
            });
        };
        driver.Step(kMain, [](HWND main) { gt::Command(main, IDC_CONFIGURE); });
        driver.Step(gt::kConfigureTitle, [this](HWND dialog) {
            Look(dialog, "configure", true);
            ICONINFO icon = {};
            ::GetIconInfo(
                static_cast<CIconButton*>(CWnd::FromHandlePermanent(gt::Item(dialog, IDC_CONFIGURE_ADD)))
                    ->GetFirstIcon(),
                &icon);
            sizes["button icon"] = static_cast<int>(icon.xHotspot * 2);
            int cx = 0, cy = 0;
            ImageList_GetIconSize(
                ListView_GetImageList(gt::Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST), LVSIL_SMALL), &cx, &cy);
            sizes["row icon"] = cx;
            ::SendMessageA(gt::Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST), LVM_SETSELECTIONMARK, 0, 0);
            gt::Command(dialog, IDC_CONFIGURE_EDIT);
        });
        driver.Step(gt::kEditTitle, [this](HWND dialog) {
            Look(dialog, "edit-auto-start-program");
            gt::Command(dialog, IDCANCEL);
        });
        driver.Step(gt::kConfigureTitle, [](HWND dialog) { gt::Command(dialog, IDCANCEL); });
        open(IDC_PROGRAMS, "Configure Programs", "programs", "Programs Help");
        open(IDC_SERVICES, "Configure Services", "services", "Services Help");
        open(ID_FILE_NEW, "New Profile", "new-profile");
        open(ID_TOOLS_PROGRAM_OPTIONS, "Program Options", "program-options");
        open(ID_APP_ABOUT, "About Zephlaunch", "about");
        open(ID_FILE_PREVIEW_RUN, "Preview run", "preview-run");
        driver.Step(kMain, [](HWND main) { gt::Command(main, IDCANCEL); });
        gt::RunMainWindowScript(driver, 120);
    }

private:
    std::string m_suffix;
};

TEST(DpiLayout, Tour)
{
    if (kDpi == 0)
        GTEST_SKIP() << "run by EveryWindowAtThreeScalings";  // which runs only this one
    ASSERT_EQ(::GetDeviceCaps(::GetDC(nullptr), LOGPIXELSY), kDpi);
    gt::PrepareListDialogSettings("[AutoStart]\nC:\\windows\\notepad.exe=-x|5\n");
    Tour first;
    first.Run("");
    EXPECT_EQ(first.problems, "");
    const int icon = kDpi * 16 / 96;  // the icon resources hold 16, 24 and 32 pixels
    EXPECT_EQ(first.sizes, (std::map<std::string, int>{
                               {"button icon", icon}, {"row icon", icon}, {"explorer.exe fits", 1}}));

    // Rectangles saved at a smaller scaling (or edited by hand) and off every monitor.
    zt::WriteFileBytes(gt::WindowPosFile(),
                       gt::IniText("[MainWindow]\nleft=40\ntop=40\nright=50\nbottom=50\n"
                                   "[ConfigureWindow]\nleft=5000\ntop=4000\nright=5010\nbottom=4010\n"
                                   "[ProgramsWindow]\nleft=-3000\ntop=20\nright=-2990\nbottom=30\n"
                                   "[ServicesWindow]\nleft=30\ntop=30\nright=130\nbottom=90\n"));
    Tour restored;
    restored.Run("-restored");
    EXPECT_EQ(restored.problems, "");
    for (const char* name : {"main", "configure", "programs", "services"})
        EXPECT_EQ(restored.layouts[name], first.layouts[name]) << name;
}

TEST(DpiLayout, EveryWindowAtThreeScalings)
{
    HKEY desktop = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &desktop, nullptr),
              ERROR_SUCCESS);
    for (DWORD dpi : {96, 144, 192}) {
        ::RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        ::SetEnvironmentVariableA("ZEPH_DPI", std::to_string(dpi).c_str());
        zt::RunResult tour =
            zt::RunCommand("\"" + zt::BinPath("gui_dpi_layout_test.exe") + "\" --gtest_filter=*Tour");
        EXPECT_EQ(tour.exitCode, 0u) << dpi << " DPI:\n" << tour.output;
    }
    ::RegDeleteValueA(desktop, "LogPixels");  // back to Wine's default, 96
    ::RegCloseKey(desktop);
}

}  // namespace
