// The real Zephlaunch.exe, started as a process and looked at from outside: its
// window, its profile list, a message box it shows, and the files it leaves behind.
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// Rectangle of a list item, asked across the process boundary.
RECT RemoteItemRect(HANDLE process, HWND list, int item)
{
    RECT rect = {};
    rect.left = LVIR_LABEL;
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
    if (!remote)
        return rect;
    SIZE_T moved = 0;
    ::WriteProcessMemory(process, remote, &rect, sizeof rect, &moved);
    ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process, remote, &rect, sizeof rect, &moved);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return rect;
}

std::string RemoteItemText(HANDLE process, HWND list, int item)
{
    struct Block {
        LVITEMA item;
        char text[260];
    } block = {};
    char* remote =
        static_cast<char*>(::VirtualAllocEx(process, nullptr, sizeof block, MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return std::string();
    block.item.pszText = remote + offsetof(Block, text);
    block.item.cchTextMax = sizeof block.text;
    SIZE_T moved = 0;
    ::WriteProcessMemory(process, remote, &block, sizeof block, &moved);
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process, remote, &block, sizeof block, &moved);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    block.text[sizeof block.text - 1] = '\0';
    return block.text;
}

class RealProgram : public gt::FreshSettingsTest {
protected:
    RealProgram() : FreshSettingsTest(true) {}
    void SetUp() override
    {
        FreshSettingsTest::SetUp();
        zt::WriteFileBytes(gt::ProfilePath("alpha"), gt::IniText("[Configuration]\ndescription=First\n"));
        zt::WriteFileBytes(gt::ProfilePath("my.test"), gt::IniText("[Configuration]\ndescription=Dotted\n"));
    }
    void TearDown() override
    {
        m_gui.reset();
        FreshSettingsTest::TearDown();
    }

    // Starts the program and waits for its main window.
    HWND Start()
    {
        m_gui.reset(new gt::GuiProcess(zt::BinPath("Zephlaunch.exe"), zt::BinDir()));
        return m_gui->WaitForMain();
    }

    std::unique_ptr<gt::GuiProcess> m_gui;
};

TEST_F(RealProgram, ShowsProfilesFollowsClicksDeletesAndSavesItsNormalRectangleOnClose)
{
    HWND main = Start();
    const DWORD pid = m_gui->Id();
    ASSERT_NE(main, nullptr) << "main window did not appear";
    HWND list = ::GetDlgItem(main, IDC_PROFILE_LIST);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 3);
    gt::SaveWindowScreenshot(main, "process-main-window");

    int dotted = -1;
    for (int i = 0; i < 3; ++i) {
        if (RemoteItemText(m_gui->Handle(), list, i) == "my.test")
            dotted = i;
    }
    ASSERT_GE(dotted, 0);
    RECT item = RemoteItemRect(m_gui->Handle(), list, dotted);
    POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    POINT screen = centre;
    ::ClientToScreen(list, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    ::PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    ASSERT_NE(gt::WaitForProcessWindow(pid, [](HWND w) { return gt::TitleOf(w) == "Zephlaunch - my"; }),
              nullptr)
        << "title after the click: " << gt::TitleOf(main);

    // File > Delete asks first; the answer comes from here.
    ::PostMessageA(main, WM_COMMAND, ID_FILE_DELETE, 0);
    HWND box = gt::WaitForProcessWindow(pid, gt::IsProcessMessageBox);
    ASSERT_NE(box, nullptr) << "no confirmation";
    char text[600] = {};
    ::GetDlgItemTextA(box, 0xffff, text, sizeof text);
    EXPECT_EQ(std::string(text),
              "Are you sure you want to remove profile:\r\n\n" + gt::ProfilePath("my.test"));
    EXPECT_EQ(gt::TitleOf(box), "Zephlaunch");
    ::PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_NE(gt::WaitForProcessWindow(
                  pid, [&](HWND w) { return w == main && gt::TitleOf(w) != "Zephlaunch - my"; }),
              nullptr);
    EXPECT_FALSE(zt::FileExists(gt::ProfilePath("my.test")));
    EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);

    ::SetWindowPos(main, nullptr, 210, 120, 480, 300, SWP_NOZORDER);
    const std::string before = gt::RectText(main);
    ::ShowWindow(main, SW_MINIMIZE);  // closed from the taskbar while minimised
    ::PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(m_gui->WaitForEnd(), 0u) << "the program did not end";
    EXPECT_EQ(gt::SavedRect("MainWindow"), before);
}

// Wine reports the version it is told to per executable; win98 is a 9x platform.
// (The greyed Service Manager item cannot be read from another process under Wine.)
TEST_F(RealProgram, OnWindows9xTheServicesButtonIsDisabled)
{
    BOOL servicesEnabled = TRUE, programsEnabled = FALSE;
    {
        zt::ScopedWineVersion version("Zephlaunch.exe", "win98");
        HWND main = Start();
        ASSERT_NE(main, nullptr);
        servicesEnabled = ::IsWindowEnabled(::GetDlgItem(main, IDC_SERVICES));
        programsEnabled = ::IsWindowEnabled(::GetDlgItem(main, IDC_PROGRAMS));
        gt::SaveWindowScreenshot(main, "process-main-window-win98");
        ::PostMessageA(main, WM_CLOSE, 0, 0);
        ASSERT_NE(m_gui->WaitForEnd(), static_cast<DWORD>(STILL_ACTIVE));
    }
    EXPECT_FALSE(servicesEnabled);
    EXPECT_TRUE(programsEnabled);
}

}  // namespace
