// The service-help file that ships beside Zephlaunch.exe: a first start copies it into
// the settings folder; a help file already there is kept. Runs a copy of the real
// program from a folder of the test's own, with a help file of the test's own beside it.
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char title[128] = {};
    ::GetWindowTextA(window, title, sizeof title);
    if (owner == search->processId && ::IsWindowVisible(window)
        && std::string(title) == "Zephlaunch - zephlaunch") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

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
        HANDLE process = zt::StartProgram("\"" + m_program + "\"", m_folder.Path());
        ASSERT_NE(process, nullptr);
        Search search = {::GetProcessId(process), nullptr};
        for (int tries = 0; !search.found && tries < 300; ++tries) {
            ::EnumWindows(&FindMainWindow, reinterpret_cast<LPARAM>(&search));
            if (!search.found)
                ::Sleep(50);
        }
        if (search.found)
            ::PostMessageA(search.found, WM_CLOSE, 0, 0);
        DWORD ended = ::WaitForSingleObject(process, 15000);
        if (ended != WAIT_OBJECT_0)
            ::TerminateProcess(process, 1);
        ::CloseHandle(process);
        EXPECT_NE(search.found, nullptr) << "no main window";
        EXPECT_EQ(ended, WAIT_OBJECT_0) << "the program did not end";
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
