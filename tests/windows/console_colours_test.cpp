// The console colours of the message levels, read back from a console screen buffer.
#include <gtest/gtest.h>

#include "support/console_capture.h"
#include "support/wine_harness.h"

TEST(ControllerColours, LevelsSetTheirAttributesAndEveryMessageRestoresGrey)
{
    zt::TempFolder folder;
    const std::string profilePath = folder.File("colours.ini");
    zt::WriteFileBytes(profilePath, "[Configuration]\r\npauseatend=1\r\n");
    zt::ConsoleRun run = zt::RunControllerOnConsole({profilePath}, "k");
    ASSERT_FALSE(run.result.timedOut);
    EXPECT_EQ(zt::AttributeOfText(run, zt::kBanner), 15);
    EXPECT_EQ(zt::AttributeOfText(run, "Free physical memory at start"), 7);
    EXPECT_EQ(zt::AttributeOfText(run, "Skipping Phase 1"), 14);
    EXPECT_EQ(zt::AttributeOfText(run, "ERROR: Main Application"), 12);
    EXPECT_EQ(zt::AttributeOfText(run, "Free physical memory at end"), 7);
    EXPECT_EQ(zt::AttributeOfText(run, "Phase 9:  Restarting Programs"), 15);
    EXPECT_EQ(zt::AttributeOfText(run, "Press any key"), 15);
    EXPECT_EQ(run.finalAttribute, 7);
}
