// The console colours of the message levels and the text's code page, read back from a console
// screen buffer.
#include <gtest/gtest.h>

#include "support/console_capture.h"
#include "support/wine_harness.h"

// A console of the user's own colours (grey on blue) gets them back after every message, and
// the text in its code page: a path outside ASCII (an ANSI e acute) reads as it is meant to.
TEST(ControllerColours, LevelsSetTheirAttributesAndTheConsoleKeepsItsOwnAttributesAndCodePage)
{
    zt::TempFolder folder;
    const std::string profilePath = folder.File("colours_\xe9.ini");
    zt::WriteFileBytes(profilePath, "[Configuration]\r\npauseatend=1\r\n");
    const WORD blue = BACKGROUND_BLUE | FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;
    zt::ConsoleRun run = zt::RunControllerOnConsole({profilePath}, "k", 60000, blue);
    ASSERT_FALSE(run.result.timedOut);
    EXPECT_EQ(zt::AttributeOfText(run, zt::kBanner), 15);
    EXPECT_EQ(zt::AttributeOfText(run, "Free physical memory at start"), blue);
    EXPECT_EQ(zt::AttributeOfText(run, "Skipping Phase 1"), 14);
    EXPECT_EQ(zt::AttributeOfText(run, "ERROR: Main Application"), 12);
    EXPECT_EQ(zt::AttributeOfText(run, "Free physical memory at end"), blue);
    EXPECT_EQ(zt::AttributeOfText(run, "Phase 9:  Restarting Programs"), 15);
    EXPECT_EQ(zt::AttributeOfText(run, "Press any key"), 15);
    EXPECT_EQ(run.finalAttribute, blue);
    WCHAR wide[MAX_PATH];
    char shown[MAX_PATH * 3];
    ASSERT_NE(GetConsoleOutputCP(), GetACP()) << "the console shows ANSI text as it is: this proves nothing";
    ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, profilePath.c_str(), -1, wide, MAX_PATH), 0);
    ASSERT_GT(WideCharToMultiByte(GetConsoleOutputCP(), 0, wide, -1, shown, sizeof shown, nullptr, nullptr),
              0);
    EXPECT_NE(zt::AttributeOfText(run, std::string("Using ini file: ") + shown), 0xFFFF);
}
