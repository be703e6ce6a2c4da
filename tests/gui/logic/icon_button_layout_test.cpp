#include "gui/logic/icon_button_layout.h"

#include <gtest/gtest.h>

using namespace gui_logic;

namespace {

IconButtonLayoutInput Input(bool caption, bool shift)
{
    IconButtonLayoutInput in;
    in.item = Box{0, 0, 87, 36};
    in.hasIcon = true;
    in.iconWidth = 24;
    in.iconHeight = 24;
    in.hasCaption = caption;
    in.shift = shift;
    return in;
}

}  // namespace

TEST(IconButtonLayout, IconBesideCaption)
{
    IconButtonLayout out = LayOutIconButton(Input(true, false));
    EXPECT_EQ(out.icon.left, 3);
    EXPECT_EQ(out.icon.top, 6);
    EXPECT_EQ(out.icon.Width(), 24);
    EXPECT_EQ(out.icon.Height(), 24);
    EXPECT_EQ(out.caption.left, 27);
    EXPECT_EQ(out.caption.right, 87);
    EXPECT_EQ(out.caption.top, 0);
    EXPECT_EQ(out.caption.bottom, 36);
}

TEST(IconButtonLayout, IconAloneIsCentred)
{
    IconButtonLayoutInput in = Input(false, false);
    in.item = Box{0, 0, 27, 23};
    in.iconWidth = 16;
    in.iconHeight = 16;
    IconButtonLayout out = LayOutIconButton(in);
    EXPECT_EQ(out.icon.left, 5);
    EXPECT_EQ(out.icon.top, 3);
}

TEST(IconButtonLayout, PressedPushButtonShiftsEverything)
{
    IconButtonLayout still = LayOutIconButton(Input(true, false));
    IconButtonLayout pressed = LayOutIconButton(Input(true, true));
    EXPECT_EQ(pressed.icon.left, still.icon.left + 1);
    EXPECT_EQ(pressed.icon.top, still.icon.top + 1);
    EXPECT_EQ(pressed.caption.left, still.caption.left + 1);
    EXPECT_EQ(pressed.caption.bottom, still.caption.bottom + 1);
}

TEST(IconButtonLayout, CaptionWithoutIconUsesTheWholeButton)
{
    IconButtonLayoutInput in = Input(true, false);
    in.hasIcon = false;
    IconButtonLayout out = LayOutIconButton(in);
    EXPECT_EQ(out.caption.left, 0);
    EXPECT_EQ(out.caption.right, 87);
}

TEST(IconButtonLayout, ItemRectangleNotAtOrigin)
{
    IconButtonLayoutInput in = Input(true, false);
    in.item = Box{10, 20, 97, 56};
    IconButtonLayout out = LayOutIconButton(in);
    EXPECT_EQ(out.icon.left, 13);
    EXPECT_EQ(out.icon.top, 26);
    EXPECT_EQ(out.caption.left, 37);
}

TEST(IconButtonLayout, CentredText)
{
    Box text = CentreText(Box{27, 0, 87, 36}, 30, 13);
    EXPECT_EQ(text.left, 42);
    EXPECT_EQ(text.top, 11);
    EXPECT_EQ(text.Width(), 30);
    EXPECT_EQ(text.Height(), 13);
    // A text wider than its area overhangs on both sides.
    Box wide = CentreText(Box{0, 0, 20, 10}, 30, 10);
    EXPECT_EQ(wide.left, -5);
    EXPECT_EQ(wide.right, 25);
}
