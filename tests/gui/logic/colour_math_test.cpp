#include "gui/logic/colour_math.h"

#include <gtest/gtest.h>

using namespace gui_logic;

TEST(ColourMath, LighteningMovesEachChannelTowardWhite)
{
    // c + f * (255 - c), rounded down, channel by channel.
    EXPECT_EQ(Lightened(MakeColour(0, 100, 255), 35), MakeColour(89, 154, 255));
    EXPECT_EQ(Lightened(MakeColour(10, 36, 106), 70), MakeColour(181, 189, 210));
    EXPECT_EQ(Lightened(MakeColour(10, 36, 106), 85), MakeColour(218, 222, 232));
    EXPECT_EQ(Lightened(MakeColour(128, 128, 128), 55), MakeColour(197, 197, 197));
}

TEST(ColourMath, LighteningLimits)
{
    const ColourRef c = MakeColour(12, 34, 56);
    EXPECT_EQ(Lightened(c, 0), c);
    EXPECT_EQ(Lightened(c, 100), MakeColour(255, 255, 255));
    EXPECT_EQ(Lightened(c, -20), c);
    EXPECT_EQ(Lightened(c, 250), MakeColour(255, 255, 255));
}

TEST(ColourMath, ColourRefLayoutMatchesWindows)
{
    const ColourRef c = MakeColour(0x11, 0x22, 0x33);
    EXPECT_EQ(c, 0x00332211u);
    EXPECT_EQ(RedOf(c), 0x11);
    EXPECT_EQ(GreenOf(c), 0x22);
    EXPECT_EQ(BlueOf(c), 0x33);
}

TEST(ColourMath, DarkenedIconKeepsBlackAndAlpha)
{
    EXPECT_EQ(DarkenedDibPixel(0x00000000u), 0x00000000u);
    EXPECT_EQ(DarkenedDibPixel(0xff000000u), 0xff000000u);  // opaque black
    EXPECT_EQ(DarkenedDibPixel(0x80ffffffu), 0x80bfbfbfu);  // alpha untouched
}

TEST(ColourMath, DarkenedIconReducesEveryChannelByAQuarter)
{
    EXPECT_EQ(DarkenedDibPixel(0xff804020u), 0xff603018u);
    // A pixel with a single non-zero channel is not black: it is darkened too.
    EXPECT_EQ(DarkenedDibPixel(0xff000004u), 0xff000003u);
    EXPECT_EQ(DarkenedDibPixel(0xff000001u), 0xff000000u);
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(DarkenedChannel(v), v * 75 / 100) << v;
}
