#include "gui/logic/menu_item_text.h"

#include <gtest/gtest.h>

using namespace gui_logic;

namespace {

// A proportional stand-in for a font: blanks 3 wide, "W" 11, "i" 2, everything else 7.
int FakeWidth(const std::u16string& text)
{
    int w = 0;
    for (char16_t c : text)
        w += c == u' ' ? 3 : c == u'W' ? 11 : c == u'i' ? 2 : 7;
    return w;
}

}  // namespace

TEST(MenuItemText, SplitsAtTheFirstTab)
{
    EXPECT_EQ(TextBeforeTab(u"E&xit\tAlt+F4"), u"E&xit");
    EXPECT_EQ(TextAfterTab(u"E&xit\tAlt+F4"), u"Alt+F4");
    EXPECT_EQ(TextBeforeTab(u"&New"), u"&New");
    EXPECT_EQ(TextAfterTab(u"&New"), u"");
    EXPECT_EQ(TextAfterTab(u"a\tb\tc"), u"b\tc");
}

TEST(MenuItemText, PaddingReachesTheWidestTextPlusOneBlank)
{
    std::vector<std::u16string> texts = {u"&New", u"&Create Shortcut", u"", u"E&xit\tAlt+F4", u"Wii"};
    const int target = FakeWidth(u"&Create Shortcut ");
    PadBeforeTabs(&texts, FakeWidth);
    for (const std::u16string& t : texts) {
        if (t.empty())
            continue;
        int w = FakeWidth(TextBeforeTab(t));
        EXPECT_GE(w, target) << std::string(t.begin(), t.end());
        EXPECT_LT(w - 3, target) << "no more blanks than needed";
    }
    EXPECT_EQ(texts[2], u"") << "separators stay empty";
    EXPECT_EQ(TextAfterTab(texts[3]), u"Alt+F4");
    EXPECT_EQ(texts[3].find(u"E&xit "), 0u);
    EXPECT_EQ(texts[1], u"&Create Shortcut ");
}

TEST(MenuItemText, PaddingStopsForAFontWithoutBlankWidth)
{
    std::vector<std::u16string> texts = {u"a", u"bbbb"};
    auto noBlank = [](const std::u16string& t) {
        int w = 0;
        for (char16_t c : t)
            w += c == u' ' ? 0 : 5;
        return w;
    };
    PadBeforeTabs(&texts, noBlank);  // must return
    EXPECT_LE(texts[0].size(), 1u + 256u);
}

TEST(MenuItemText, MenuCharacterSearch)
{
    std::vector<std::u16string> texts = {u"&new", u"&delete", u"", u"e&xit    \talt+f4", u"a&&b"};
    EXPECT_EQ(FindMenuCharacter(texts, u'x'), 3);
    EXPECT_EQ(FindMenuCharacter(texts, u'n'), 0);
    EXPECT_EQ(FindMenuCharacter(texts, u'q'), -1);
    EXPECT_EQ(FindMenuCharacter(texts, u'&'), 4) << "a doubled ampersand is found as written";
    EXPECT_EQ(FindMenuCharacter({}, u'n'), -1);
}
