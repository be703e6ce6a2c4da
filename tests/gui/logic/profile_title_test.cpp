#include "gui/logic/profile_title.h"

#include <gtest/gtest.h>

namespace {

TEST(ProfileTitle, StopsAtTheFirstDotAfterTheLastBackslash)
{
    EXPECT_EQ(gui_logic::TitleOfProfilePath("C:\\a.b\\profiles\\my.test.ini"), "my");
    EXPECT_EQ(gui_logic::TitleOfProfilePath("C:\\x\\zephlaunch.ini"), "zephlaunch");
    EXPECT_EQ(gui_logic::TitleOfProfilePath("C:\\x\\zephlaunch.old.ini"), "zephlaunch");
    EXPECT_EQ(gui_logic::TitleOfProfilePath("C:\\x\\noext"), "noext");
    EXPECT_EQ(gui_logic::TitleOfProfilePath("plain.ini"), "plain");
    EXPECT_EQ(gui_logic::TitleOfProfilePath("C:\\x\\.ini"), "");
    EXPECT_EQ(gui_logic::TitleOfProfilePath("C:\\x\\my profile.ini"), "my profile");
}

TEST(ProfileTitle, MainWindowTitleAndInfoTip)
{
    EXPECT_EQ(gui_logic::MainWindowTitle("C:\\p\\my.test.ini"), "Zephlaunch - my");
    EXPECT_EQ(gui_logic::ProfileInfoTip("my.test", "A game"), "Profile: my.test\r\nDescription: A game");
    EXPECT_EQ(gui_logic::ProfileInfoTip("x", ""), "Profile: x\r\nDescription: ");
}

TEST(ProfileTitle, ListNameDropsOnlyTheLastExtension)
{
    EXPECT_EQ(gui_logic::ProfileNameOfFile("my.test.ini"), "my.test");
    EXPECT_EQ(gui_logic::ProfileNameOfFile("zephlaunch.ini"), "zephlaunch");
    EXPECT_EQ(gui_logic::ProfileNameOfFile("noext"), "noext");
}

}  // namespace
