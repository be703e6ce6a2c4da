// The service-help file that ships beside Zephlaunch.exe: a first start copies it into
// the settings folder; a help file already there is kept. Runs a copy of the real
// program from a folder of the test's own, with a help file of the test's own beside it.
#include "support/gui_driver.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

class ShippedHelpFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        gt::ResetSettings();
        m_program = zt::CopyBinaryAs("Zephlaunch.exe", m_folder.Path(), "Zephlaunch.exe");
        zt::WriteFileBytes(m_folder.File("zephlaunch_service.ini"), m_shipped);
    }
    void TearDown() override { gt::ResetSettings(); }

    // Starts the program, waits for its main window and closes it.
    void RunProgramOnce()
    {
        gt::GuiProcess gui(m_program, m_folder.Path());
        HWND main = gui.WaitForMain();
        if (main)
            ::PostMessageA(main, WM_CLOSE, 0, 0);
        EXPECT_NE(main, nullptr) << "no main window";
        EXPECT_NE(gui.WaitForEnd(), static_cast<DWORD>(STILL_ACTIVE)) << "the program did not end";
    }

    zt::TempFolder m_folder;
    std::string m_program;
    const std::string m_shipped = "[ServicesHelp]\r\nSpooler=Printing stops while it is stopped.\r\n";
};

TEST_F(ShippedHelpFile, FirstStartCopiesTheFileBesideTheProgram)
{
    RunProgramOnce();
    EXPECT_EQ(zt::ReadFileBytes(gt::ServiceHelpFile()), m_shipped);
}

TEST_F(ShippedHelpFile, AHelpFileInTheSettingsFolderIsKept)
{
    ASSERT_TRUE(::CreateDirectoryA(gt::SettingsFolder().c_str(), nullptr));
    const std::string own = "[ServicesHelp]\r\nSpooler=The user's own text.\r\n";
    zt::WriteFileBytes(gt::ServiceHelpFile(), own);
    RunProgramOnce();
    EXPECT_EQ(zt::ReadFileBytes(gt::ServiceHelpFile()), own);
}

}  // namespace
