#include "gui/logic/profile_name.h"

#include <gtest/gtest.h>

using gui_logic::CheckProfileName;
using gui_logic::ProfileNameProblem;

namespace {

const std::size_t kRoomy = 200;

TEST(ProfileName, AcceptsEveryOrdinaryFileName)
{
    for (const char* name : {"games", "my profile", "   ", "my.test", "a..b", "zephlaunch.old", "Ünïcode-ish",
                             "CONSOLE", "COM10", "LPT0", "nul-thing", "con_x", "x.con"}) {
        EXPECT_EQ(CheckProfileName(name, kRoomy), ProfileNameProblem::None) << name;
    }
}

TEST(ProfileName, RefusesCharactersThatCannotBeInAFileName)
{
    for (const char* name :
         {"a\\b", "..\\escape", "a/b", "c:x", "what?", "star*", "say \"hi\"", "<tag>", "a|b", "tab\there"}) {
        EXPECT_EQ(CheckProfileName(name, kRoomy), ProfileNameProblem::ForbiddenCharacter) << name;
    }
}

TEST(ProfileName, RefusesDotNamesAndDeviceNames)
{
    EXPECT_EQ(CheckProfileName(".", kRoomy), ProfileNameProblem::DotsOnly);
    EXPECT_EQ(CheckProfileName("..", kRoomy), ProfileNameProblem::DotsOnly);
    for (const char* name :
         {"CON", "con", "Prn", "aux", "NUL", "com1", "COM9", "lpt1", "LPT9", "nul.txt", "con .x"})
        EXPECT_EQ(CheckProfileName(name, kRoomy), ProfileNameProblem::ReservedDevice) << name;
}

TEST(ProfileName, RefusesEmptyAndOverlongNames)
{
    EXPECT_EQ(CheckProfileName("", kRoomy), ProfileNameProblem::Empty);
    EXPECT_EQ(CheckProfileName(std::string(10, 'a'), 10), ProfileNameProblem::None);
    EXPECT_EQ(CheckProfileName(std::string(11, 'a'), 10), ProfileNameProblem::TooLong);
}

TEST(ProfileName, LongestNameLeavesRoomForFolderSeparatorExtensionAndTerminator)
{
    // "C:\p" (4) + "\" + name + ".ini" + terminator within 260.
    EXPECT_EQ(gui_logic::MaxProfileNameLength(4, 260), 250u);
    EXPECT_EQ(gui_logic::MaxProfileNameLength(254, 260), 0u);
    EXPECT_EQ(gui_logic::MaxProfileNameLength(300, 260), 0u);
}

TEST(ProfileName, MessagesNameTheProblem)
{
    EXPECT_EQ(gui_logic::ProfileNameMessage(ProfileNameProblem::None, "x"), "");
    EXPECT_EQ(gui_logic::ProfileNameMessage(ProfileNameProblem::ForbiddenCharacter, "a/b"),
              "A profile name cannot contain any of the following characters:\r\n\\ / : * ? \" < > |");
    EXPECT_EQ(gui_logic::ProfileNameMessage(ProfileNameProblem::ReservedDevice, "aux"),
              "\"aux\" is reserved by Windows for a device and cannot be used as a profile name.");
}

}  // namespace
