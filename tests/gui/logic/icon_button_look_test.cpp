#include "gui/logic/icon_button_look.h"

#include <gtest/gtest.h>

using namespace gui_logic;

namespace {

IconButtonState Flat()
{
    IconButtonState s;
    s.hasSecondIcon = true;
    return s;
}

}  // namespace

TEST(IconButtonLook, FlatButtonBorderFollowsTheMouse)
{
    IconButtonState s = Flat();
    IconButtonLook look = DecideIconButtonLook(s);
    EXPECT_EQ(look.border, ButtonBorder::None);
    EXPECT_TRUE(look.secondIcon);
    EXPECT_EQ(look.colours, ColourPair::Normal);

    s.mouseOver = true;
    look = DecideIconButtonLook(s);
    EXPECT_EQ(look.border, ButtonBorder::ThinRaised);
    EXPECT_FALSE(look.secondIcon);
    EXPECT_EQ(look.colours, ColourPair::Hot);

    s.selected = true;
    look = DecideIconButtonLook(s);
    EXPECT_TRUE(look.pressed);
    EXPECT_EQ(look.border, ButtonBorder::ThinSunken);
    EXPECT_FALSE(look.secondIcon);
    EXPECT_TRUE(look.shiftContent);
}

TEST(IconButtonLook, FlatWithoutBorderFlagDrawsNoBorder)
{
    IconButtonState s = Flat();
    s.border = false;
    s.mouseOver = true;
    EXPECT_EQ(DecideIconButtonLook(s).border, ButtonBorder::None);
    s.selected = true;
    EXPECT_EQ(DecideIconButtonLook(s).border, ButtonBorder::None);
}

TEST(IconButtonLook, TickedCheckBoxIsSunkenButDoesNotShift)
{
    IconButtonState s = Flat();
    s.checkBox = true;
    s.tick = 1;
    IconButtonLook look = DecideIconButtonLook(s);
    EXPECT_TRUE(look.pressed);
    EXPECT_EQ(look.border, ButtonBorder::ThinSunken);
    EXPECT_FALSE(look.shiftContent);
    EXPECT_FALSE(look.secondIcon);
    EXPECT_EQ(look.colours, ColourPair::Hot);

    s.tick = 0;
    s.selected = true;  // held down with the mouse
    look = DecideIconButtonLook(s);
    EXPECT_TRUE(look.pressed);
    EXPECT_FALSE(look.shiftContent);
}

TEST(IconButtonLook, HoveredCheckBoxKeepsItsSecondIcon)
{
    IconButtonState s = Flat();
    s.checkBox = true;
    s.mouseOver = true;
    IconButtonLook look = DecideIconButtonLook(s);
    EXPECT_TRUE(look.secondIcon);
    EXPECT_EQ(look.border, ButtonBorder::ThinRaised);
}

TEST(IconButtonLook, WithoutSecondIconTheFirstIsAlwaysUsed)
{
    IconButtonState s = Flat();
    s.hasSecondIcon = false;
    EXPECT_FALSE(DecideIconButtonLook(s).secondIcon);
}

TEST(IconButtonLook, RaisedLook)
{
    IconButtonState s = Flat();
    s.flat = false;
    IconButtonLook look = DecideIconButtonLook(s);
    EXPECT_EQ(look.border, ButtonBorder::FullRaised);
    EXPECT_FALSE(look.blackFrame);

    s.isDefault = true;
    EXPECT_TRUE(DecideIconButtonLook(s).blackFrame);
    s.isDefault = false;
    s.focused = true;
    look = DecideIconButtonLook(s);
    EXPECT_TRUE(look.blackFrame);
    EXPECT_TRUE(look.focusRect);
    EXPECT_EQ(look.colours, ColourPair::Focused);

    s.selected = true;
    look = DecideIconButtonLook(s);
    EXPECT_EQ(look.border, ButtonBorder::ShadowFrame);
    EXPECT_EQ(look.colours, ColourPair::Hot);
}

TEST(IconButtonLook, FocusRectangleOnlyWhereAsked)
{
    IconButtonState s = Flat();
    s.focused = true;
    EXPECT_FALSE(DecideIconButtonLook(s).focusRect);
    EXPECT_FALSE(DecideIconButtonLook(s).blackFrame);
    s.flatFocus = true;
    EXPECT_TRUE(DecideIconButtonLook(s).focusRect);
}

TEST(IconButtonLook, DisabledCaptionIsEmbossed)
{
    IconButtonState s = Flat();
    EXPECT_FALSE(DecideIconButtonLook(s).embossedCaption);
    s.disabled = true;
    EXPECT_TRUE(DecideIconButtonLook(s).embossedCaption);
}

TEST(IconButtonLook, SetCheckValues)
{
    EXPECT_EQ(TickFromSetCheck(0), 0);
    EXPECT_EQ(TickFromSetCheck(1), 1);
    EXPECT_EQ(TickFromSetCheck(2), 1);
    EXPECT_EQ(TickFromSetCheck(3), 0);
    EXPECT_EQ(TickFromSetCheck(0x100000001ull), 0);
}
