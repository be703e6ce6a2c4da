// Start, seen from outside: a copy of the real Zephlaunch.exe installed in a folder
// "...\Program Files\Zephlaunch" next to a stub controller (a fixture copied as
// zephrun.exe that reports its command line and working folder), with a decoy
// Program.exe where an unquoted command line would lead.
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/run_profile.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace {

const char kEventVariable[] = "FIXTURE_MAINAPP_UNTIL_EVENT";
const char kEventName[] = "ZephStartTestRelease";

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = 15000)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > milliseconds)
            return false;
        ::Sleep(50);
    }
    return true;
}

std::string MessageText(HWND box)
{
    char text[1024] = {};
    ::GetDlgItemTextA(box, 0xffff, text, sizeof text);
    return text;
}

class Start : public ::testing::Test {
protected:
    void SetUp() override
    {
        gt::ResetSettings();
        ::SetEnvironmentVariableA(kEventVariable, nullptr);
        m_install = m_root.Path() + "\\Program Files\\Zephlaunch";
        m_work = m_root.File("work");
        ASSERT_TRUE(::CreateDirectoryA(m_root.File("Program Files").c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(m_install.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(m_work.c_str(), nullptr));
        zt::CopyBinaryAs("Zephlaunch.exe", m_install, "Zephlaunch.exe");
        zt::CopyBinaryAs("fixture_mainapp.exe", m_root.Path(), "Program.exe");
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA(kEventVariable, nullptr);
        m_gui.reset();
        zt::KillProcesses("zephrun.exe");
        gt::ResetSettings();
    }

    void InstallStubController() { zt::CopyBinaryAs("fixture_mainapp.exe", m_install, "zephrun.exe"); }

    // Starts the GUI working in the work folder and presses Start; returns the question.
    HWND LaunchAndPressStart()
    {
        m_gui.reset(new gt::GuiProcess(m_install + "\\Zephlaunch.exe", m_work));
        m_main = m_gui->WaitForMain();
        if (!m_main) {
            ADD_FAILURE() << "main window did not appear";
            return nullptr;
        }
        ::SetWindowPos(m_main, nullptr, 160, 110, 470, 310, SWP_NOZORDER);
        ::PostMessageA(m_main, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(m_main, IDC_START)));
        HWND box = gt::WaitForProcessWindow(m_gui->Id(), gt::IsProcessMessageBox);
        if (!box) {
            ADD_FAILURE() << "no question";
            return nullptr;
        }
        EXPECT_EQ(MessageText(box), "Do you wish to close the Zephlaunch GUI before launching?");
        EXPECT_EQ(gt::TitleOf(box), "Zephlaunch");
        EXPECT_NE(::GetDlgItem(box, IDCANCEL), nullptr);
        return box;
    }

    std::string StubReport() const { return zt::ReadFileBytes(m_install + "\\zephrun.exe.report"); }
    std::string ExpectedCommandLine() const
    {
        return "\"" + m_install + "\\zephrun.exe\" \"" + gt::DefaultProfile() + "\"";
    }
    bool DecoyRan() const { return zt::FileExists(m_root.File("Program.exe.report")); }

    zt::TempFolder m_root;
    std::string m_install;
    std::string m_work;
    std::unique_ptr<gt::GuiProcess> m_gui;
    HWND m_main = nullptr;
};

TEST_F(Start, NoRunsTheControllerNextToTheProgramAndWaitsMinimisedUntilItEnds)
{
    InstallStubController();
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, kEventName);
    ASSERT_NE(release, nullptr);
    ::SetEnvironmentVariableA(kEventVariable, kEventName);
    HWND box = LaunchAndPressStart();
    ASSERT_NE(box, nullptr);
    ::PostMessageA(box, WM_COMMAND, IDNO, 0);

    ASSERT_TRUE(WaitFor([&] { return StubReport().find("cmdline=") != std::string::npos; }))
        << "the controller did not start";
    bool minimisedWhileRunning = WaitFor([&] { return ::IsIconic(m_main) != FALSE; }, 5000);
    ::Sleep(300);
    bool stillMinimised = ::IsIconic(m_main) != FALSE;
    ::SetEvent(release);
    bool restoredAfter = WaitFor([&] { return !::IsIconic(m_main); }, 15000);
    ::CloseHandle(release);

    EXPECT_TRUE(minimisedWhileRunning);
    EXPECT_TRUE(stillMinimised);
    EXPECT_TRUE(restoredAfter);
    std::string report = StubReport();
    EXPECT_EQ(zt::ReportValue(report, "cmdline"), ExpectedCommandLine());
    EXPECT_EQ(lstrcmpiA(zt::ReportValue(report, "cwd").c_str(), m_work.c_str()), 0)
        << zt::ReportValue(report, "cwd");
    EXPECT_NE(zt::ReportValue(report, "end"), "");
    EXPECT_FALSE(DecoyRan()) << zt::ReadFileBytes(m_root.File("Program.exe.report"));

    ::PostMessageA(m_main, WM_CLOSE, 0, 0);
    EXPECT_EQ(m_gui->WaitForEnd(), 0u);
}

TEST_F(Start, YesSavesTheRectangleAndEndsTheProgramWhileTheControllerRuns)
{
    InstallStubController();
    HWND box = LaunchAndPressStart();
    ASSERT_NE(box, nullptr);
    const std::string rect = gt::RectText(m_main);
    ::PostMessageA(box, WM_COMMAND, IDYES, 0);
    ASSERT_EQ(m_gui->WaitForEnd(), 0u) << "the program did not end";
    ASSERT_TRUE(WaitFor([&] { return StubReport().find("cmdline=") != std::string::npos; }));
    EXPECT_EQ(zt::ReportValue(StubReport(), "cmdline"), ExpectedCommandLine());
    EXPECT_FALSE(DecoyRan());
    EXPECT_EQ(gt::SavedRect("MainWindow"), rect);
}

TEST_F(Start, WithoutTheControllerTheMessageShowsTheCommandLineAndFolderTried)
{
    HWND box = LaunchAndPressStart();  // no zephrun.exe next to the program
    ASSERT_NE(box, nullptr);
    ::PostMessageA(box, WM_COMMAND, IDYES, 0);
    HWND error = gt::WaitForProcessWindow(m_gui->Id(), [&](HWND w) {
        return w != box && gt::IsProcessMessageBox(w) && MessageText(w).find("Error") == 0;
    });
    ASSERT_NE(error, nullptr);
    gt::SaveWindowScreenshot(error, "start-controller-missing");
    EXPECT_EQ(MessageText(error), "Error launching Zephlaunch Batch control!\n\nPath = "
                                      + ExpectedCommandLine() + "\n\nFolder = " + m_work);
    EXPECT_EQ(gt::TitleOf(error), "Zephlaunch");
    ::PostMessageA(error, WM_COMMAND, IDOK, 0);
    // The GUI stays as it was.
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(error); }, 5000));
    EXPECT_FALSE(::IsIconic(m_main));
    EXPECT_EQ(m_gui->WaitForEnd(500), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_FALSE(DecoyRan());
    ::PostMessageA(m_main, WM_CLOSE, 0, 0);
    EXPECT_EQ(m_gui->WaitForEnd(), 0u);
}

}  // namespace
