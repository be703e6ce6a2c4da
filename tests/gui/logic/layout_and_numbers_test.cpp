#include "gui/logic/anchored_layout.h"
#include "gui/logic/number_text.h"
#include "gui/logic/path_join.h"
#include "gui/logic/window_rect.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(WindowRectRule, AppliedOnlyWhenLeftOrTopIsNonZero)
{
    EXPECT_FALSE(gui_logic::ShouldRestore({0, 0, 500, 400}));
    EXPECT_FALSE(gui_logic::ShouldRestore({}));
    EXPECT_TRUE(gui_logic::ShouldRestore({1, 0, 0, 0}));
    EXPECT_TRUE(gui_logic::ShouldRestore({0, -20, 300, 200}));
    gui_logic::SavedRect rect{-1200, 40, -700, 440};
    EXPECT_EQ(gui_logic::RectWidth(rect), 500);
    EXPECT_EQ(gui_logic::RectHeight(rect), 400);
}

TEST(AnchoredLayout, KeepsTheMarginsWhenTheClientAreaChanges)
{
    // A list at (110,10)-(333,175) in a 343x186 client area.
    gui_logic::AnchoredLayout layout = gui_logic::RecordLayout({110, 10, 333, 175}, 343, 186);
    EXPECT_EQ(layout.rightMargin, 10);
    EXPECT_EQ(layout.bottomMargin, 11);
    gui_logic::Box grown = gui_logic::PlaceChild(layout, 643, 486);
    EXPECT_EQ(grown.left, 110);
    EXPECT_EQ(grown.top, 10);
    EXPECT_EQ(grown.right, 633);
    EXPECT_EQ(grown.bottom, 475);
    gui_logic::Box tiny = gui_logic::PlaceChild(layout, 50, 5);
    EXPECT_EQ(tiny.right, tiny.left);
    EXPECT_EQ(tiny.bottom, tiny.top);
}

TEST(NumberText, ParsesWholeNumbersWithBlanksAndRefusesTheRest)
{
    int value = 0;
    EXPECT_TRUE(gui_logic::ParseIntText(" -42 ", &value));
    EXPECT_EQ(value, -42);
    EXPECT_TRUE(gui_logic::ParseIntText("2147483647", &value));
    EXPECT_EQ(value, INT_MAX);
    EXPECT_TRUE(gui_logic::ParseIntText("-2147483648", &value));
    EXPECT_EQ(value, INT_MIN);
    for (const char* bad : {"", " ", "12a", "1 2", "+", "2147483648", "99999999999999999999", "0x10"})
        EXPECT_FALSE(gui_logic::ParseIntText(bad, &value)) << bad;

    unsigned number = 0;
    EXPECT_TRUE(gui_logic::ParseUIntText("4294967295", &number));
    EXPECT_EQ(number, UINT_MAX);
    EXPECT_FALSE(gui_logic::ParseUIntText("-1", &number));
    EXPECT_FALSE(gui_logic::ParseUIntText("4294967296", &number));
}

TEST(NumberText, StandardMessages)
{
    EXPECT_EQ(gui_logic::IntRangeMessage(1, 600), "Please enter an integer between 1 and 600.");
    EXPECT_EQ(gui_logic::MaxCharsMessage(254), "Please enter no more than 254 characters.");
}

TEST(PathJoin, RefusesPathsThatDoNotFit)
{
    char out[16];
    EXPECT_TRUE(gui_logic::JoinPath(out, sizeof out, "C:\\ab", "cdefghij"));  // 14 characters
    EXPECT_EQ(std::string(out), "C:\\ab\\cdefghij");
    EXPECT_FALSE(gui_logic::JoinPath(out, sizeof out, "C:\\ab", "cdefghijkl"));
    EXPECT_EQ(std::string(out), "");
    EXPECT_EQ(gui_logic::ProfilePath("C:\\p", "x", 259), "C:\\p\\x.ini");
    EXPECT_EQ(gui_logic::ProfilePath("C:\\p", std::string(260, 'x'), 259), "");
}

}  // namespace
