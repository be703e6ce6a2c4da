#include "gui/logic/menu_item_layout.h"

#include <gtest/gtest.h>

using namespace gui_logic;

TEST(MenuItemLayout, Measuring)
{
    MenuItemSize separator = MeasureMenuItem(true, 500, 19, 16, 15);
    EXPECT_EQ(separator.width, 0);
    EXPECT_EQ(separator.height, 9);

    MenuItemSize item = MeasureMenuItem(false, 60, 19, 16, 15);
    EXPECT_EQ(item.width, 60 + 33);
    EXPECT_EQ(item.height, 19);

    MenuItemSize small = MeasureMenuItem(false, 60, 12, 16, 15);
    EXPECT_EQ(small.height, 19) << "icon height plus 4 when the menu is lower";
}

TEST(MenuItemLayout, StripAndTextPositions)
{
    EXPECT_EQ(MenuStripWidth(16), 21);
    EXPECT_EQ(MenuTextLeft(16), 25);
    EXPECT_EQ(MenuIconLeft(true), 3);
    EXPECT_EQ(MenuSeparatorLeft(16), 25);
    EXPECT_EQ(MenuIconTop(100, 21, 15), 103);
    EXPECT_GT(MenuTextLeft(16), MenuStripWidth(16));
}

TEST(MenuItemLayout, StripBaseColourByVersion)
{
    EXPECT_FALSE(MenuStripUsesButtonFace(3));
    EXPECT_TRUE(MenuStripUsesButtonFace(4));
    EXPECT_TRUE(MenuStripUsesButtonFace(10));
}
