#include "gui/logic/action_choice.h"
#include "gui/logic/service_texts.h"
#include "gui/logic/version_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using gui_logic::VersionTrigger;

// Windows reports 1813 for a program without a version resource, Wine 1812: the
// mapping is tested here because only one of them can be provoked on each.
TEST(VersionText, SizeErrorsByTrigger)
{
    const std::string noInfo = "No additional information is available for this program.";
    EXPECT_EQ(gui_logic::VersionSizeErrorText(1813, VersionTrigger::HotTrack), noInfo);
    EXPECT_EQ(gui_logic::VersionSizeErrorText(1813, VersionTrigger::RightClick), noInfo);
    EXPECT_EQ(
        gui_logic::VersionSizeErrorText(1812, VersionTrigger::HotTrack),
        "Unable to retrieve version information.  This is probably because the program no longer exists on "
        "this computer.");
    EXPECT_EQ(gui_logic::VersionSizeErrorText(1812, VersionTrigger::RightClick),
              "Unable to retrieve version information size: error 1812.");
    EXPECT_EQ(gui_logic::VersionSizeErrorText(2, VersionTrigger::HotTrack),
              "Unable to retrieve version information size: error 2.");
    EXPECT_EQ(gui_logic::VersionSizeErrorText(3, VersionTrigger::RightClick),
              "Unable to retrieve version information size: error 3.");
    EXPECT_EQ(gui_logic::VersionReadErrorText(5), "Unable to retrieve version information: error 5.");
}

TEST(VersionText, SubBlockNamesUseFourHexDigitsEach)
{
    EXPECT_EQ(gui_logic::VersionSubBlock(gui_logic::kFileVersion, 0x409, 0x4b0),
              "\\StringFileInfo\\040904b0\\FileVersion");
    EXPECT_EQ(gui_logic::VersionSubBlock(gui_logic::kComments, 0x0407, 0x04e4),
              "\\StringFileInfo\\040704e4\\Comments");
    EXPECT_EQ(gui_logic::VersionSubBlock(gui_logic::kLegalCopyright, 0, 0),
              "\\StringFileInfo\\00000000\\LegalCopyright");
}

TEST(VersionText, ValuesOnHoverAndOnRightClick)
{
    using gui_logic::VersionValueText;
    // Hover: a length of 0 shows nothing, Comments then "N/A".
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kCompanyName, true, "Acme", 5), "Acme");
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kCompanyName, true, "Acme", 0), "");
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kCompanyName, false, nullptr, 0), "");
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kComments, false, nullptr, 0), "N/A");
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kComments, true, "x", 0), "N/A");
    // Comments are copied up to the reported length.
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kComments, true, "abcdef", 3), "abc");
    // Right-click: whatever the query delivered, length or not.
    EXPECT_EQ(VersionValueText(VersionTrigger::RightClick, gui_logic::kComments, true, "note", 0), "note");
    EXPECT_EQ(VersionValueText(VersionTrigger::RightClick, gui_logic::kComments, false, nullptr, 0), "");
    // Longer values are cut to their buffer: 99 characters for the versions, 255 for the rest.
    const std::string longText(400, 'v');
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kFileVersion, true, longText.c_str(), 401)
                  .size(),
              99u);
    EXPECT_EQ(
        VersionValueText(VersionTrigger::RightClick, gui_logic::kProductVersion, true, longText.c_str(), 401)
            .size(),
        99u);
    EXPECT_EQ(VersionValueText(VersionTrigger::HotTrack, gui_logic::kProductName, true, longText.c_str(), 401)
                  .size(),
              255u);
}

TEST(VersionText, WholeTextAndHeader)
{
    std::string values[gui_logic::kVersionFieldCount] = {"1.2",  "1.0",      "Tool", "A tool",
                                                         "Acme", "(c) Acme", "N/A"};
    EXPECT_EQ(gui_logic::VersionHeader("tool.exe", "C:\\t\\tool.exe"),
              "Program: tool.exe\r\nFile Path: C:\\t\\tool.exe\r\n\r\n");
    EXPECT_EQ(gui_logic::VersionText("tool.exe", "C:\\t\\tool.exe", values),
              "Program: tool.exe\r\nFile Path: C:\\t\\tool.exe\r\n\r\n"
              "File Version: 1.2\r\nProduct Version: 1.0\r\n\r\nFile Description: A tool\r\n\r\n"
              "Product Name: Tool\r\nCompany: Acme\r\nCopyright: (c) Acme\r\n\r\nComments: N/A");
}

TEST(ServiceTexts, StatesAndTrimming)
{
    const char* expected[] = {"",           "Stopped", "Starting", "Stopping", "Running",
                              "Continuing", "Pausing", "Paused",   ""};
    for (unsigned long state = 0; state <= 8; ++state)
        EXPECT_STREQ(gui_logic::ServiceStateText(state), expected[state]) << state;
    EXPECT_STREQ(gui_logic::ServiceStateText(0xffffffffUL), "");
    EXPECT_EQ(gui_logic::TrimTrailingWhiteSpace("Print Spooler  \t "), "Print Spooler");
    EXPECT_EQ(gui_logic::TrimTrailingWhiteSpace("  lead stays"), "  lead stays");
    EXPECT_EQ(gui_logic::TrimTrailingWhiteSpace("   "), "");
    EXPECT_EQ(gui_logic::DescriptionErrorText(1060), "Unable to retrieve: error 1060");
}

TEST(ServiceTexts, HelpTextWithAndWithoutEntry)
{
    EXPECT_EQ(gui_logic::ServiceHelpText("Print Spooler", ""),
              "Print Spooler\r\n\r\nNo additional help available.");
    EXPECT_EQ(gui_logic::ServiceHelpText("Print Spooler", "Printing stops."),
              "Print Spooler\r\n\r\nPrinting stops.\r\n\r\nDISCLAIMER:  These recommendations may or may not "
              "work for "
              "you.  Please use with caution.  If you notice any problems, you may reboot your computer "
              "since nothing "
              "is permanently disabled with this software.");
}

TEST(ActionChoice, ThreeActionsWithTheCellsOwnPreselected)
{
    for (const char* current : {"", "Stop", "Stop & Restart", "something else"}) {
        gui_logic::ActionChoices choices = gui_logic::ActionChoicesForCell(current);
        ASSERT_EQ(choices.items.size(), 3u);
        EXPECT_EQ(choices.items[0], "No Action");
        EXPECT_EQ(choices.items[1], "Stop");
        EXPECT_EQ(choices.items[2], "Stop & Restart");
        EXPECT_EQ(choices.initialSelection, std::string(current) == "Stop" ? 1 : current[0] == 'S' ? 2 : -1);
        EXPECT_FALSE(choices.fixed);
        EXPECT_EQ(choices.items, gui_logic::ActionChoicesForCell(current, false).items);
    }
}

// A row Windows needs: "No Action" is all there is, whatever the cell or the profile held.
TEST(ActionChoice, RowWindowsNeedsHasNoActionOnlyAndShowsIt)
{
    for (const char* current : {"", "No Action", "Stop", "Stop & Restart", "stop & restart"}) {
        gui_logic::ActionChoices choices = gui_logic::ActionChoicesForCell(current, true);
        ASSERT_EQ(choices.items.size(), 1u) << current;
        EXPECT_EQ(choices.items[0], "No Action");
        EXPECT_EQ(choices.initialSelection, 0);
        EXPECT_TRUE(choices.fixed);
        EXPECT_EQ(gui_logic::ShownAction(current, true), "No Action");
        EXPECT_EQ(gui_logic::ShownAction(current, false), current);
    }
    EXPECT_EQ(gui_logic::NeverStopHelpText("services.exe", ""),
              "Windows needs services.exe: Zephlaunch never stops it.");
    EXPECT_EQ(
        gui_logic::NeverStopHelpText("Plug and Play", "Plug and Play\r\n\r\nNo additional help available."),
        "Windows needs Plug and Play: Zephlaunch never stops it.\r\n\r\nPlug and Play\r\n\r\nNo additional "
        "help "
        "available.");
}

}  // namespace
