// The controller's command line, the shortcut's names, and when a run needs
// administrator rights.
#include "gui/logic/controller_run.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ControllerRun, BothPathsOfTheCommandLineAreQuoted)
{
    EXPECT_EQ(
        gui_logic::ControllerCommandLine("C:\\Program Files\\Zephlaunch\\zephrun.exe", "C:\\a b\\p.ini"),
        "\"C:\\Program Files\\Zephlaunch\\zephrun.exe\" \"C:\\a b\\p.ini\"");
}

TEST(ControllerRun, TheLinkTakesTheFileNameWithoutItsLastFourCharacters)
{
    EXPECT_EQ(gui_logic::LinkProfileName("C:\\p\\a.b.ini"), "a.b");
    EXPECT_EQ(gui_logic::LinkProfileName("C:\\p\\zephlaunch.ini"), "zephlaunch");
    EXPECT_EQ(gui_logic::LinkProfileName("plain.ini"), "plain");
    EXPECT_EQ(gui_logic::LinkProfileName("C:\\p\\.ini"), "");
    EXPECT_EQ(gui_logic::LinkFilePath("C:\\Desk", "a.b"), "C:\\Desk\\Zephlaunch a.b.lnk");
    EXPECT_EQ(gui_logic::LinkDescription("a.b"), "Open this to start Zephlaunch with the a.b profile");
}

bool Needs(const std::string& programs, const std::string& services)
{
    // Section buffers: entries with their NULs, then the empty string.
    std::string p = programs + std::string(1, '\0');
    std::string s = services + std::string(1, '\0');
    return gui_logic::RunNeedsAdministrator(p.data(), p.size(), s.data(), s.size());
}

TEST(ControllerRun, ARunNeedsAdministratorRightsWhenItStopsServicesOrEndsTheShell)
{
    using std::string;
    const string z(1, '\0');
    EXPECT_FALSE(Needs("", ""));
    EXPECT_FALSE(Needs("notepad.exe=Stop|C:\\n.exe" + z, "Spooler=No Action" + z));
    EXPECT_TRUE(Needs("", "Spooler=No Action" + z + "Themes=Stop" + z));
    EXPECT_TRUE(Needs("", "Spooler=Stop & Restart" + z));
    // The controller stops a service for every value but exactly "No Action".
    EXPECT_TRUE(Needs("", "Spooler=no action" + z));
    EXPECT_TRUE(Needs("EXPLORER.EXE=Stop & Restart|C:\\Windows\\explorer.exe" + z, ""));
    EXPECT_TRUE(Needs("explorer.exe=Stop|" + z, ""));
    EXPECT_FALSE(Needs("explorer.exe=No Action|C:\\Windows\\explorer.exe" + z, ""));
    EXPECT_FALSE(Needs("myexplorer.exe=Stop|" + z + "explorer.exe.bak=Stop|" + z, ""));
    // A last string without its NUL is not read past the buffer.
    const string cut = "Themes=Stop";
    EXPECT_FALSE(gui_logic::RunNeedsAdministrator(nullptr, 0, cut.data(), cut.size()));
}

}  // namespace
