#include "gui/logic/menu_template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gui_logic;

namespace {

// Builds template bytes the way the resource compiler lays them out.
class Bytes {
public:
    Bytes& Word(unsigned w)
    {
        data.push_back(static_cast<unsigned char>(w & 0xff));
        data.push_back(static_cast<unsigned char>((w >> 8) & 0xff));
        return *this;
    }
    Bytes& Text(const std::u16string& text)
    {
        for (char16_t c : text)
            Word(c);
        return Word(0);
    }
    Bytes& Item(unsigned flags, unsigned id, const std::u16string& text)
    {
        return Word(flags).Word(id).Text(text);
    }
    Bytes& Popup(unsigned flags, const std::u16string& text)
    {
        return Word(flags | kMenuTemplatePopup).Text(text);
    }
    std::vector<unsigned char> data;
};

Bytes MainMenu()
{
    Bytes b;
    b.Word(0).Word(0);
    b.Popup(0, u"&File");
    b.Item(0, 57600, u"&New");
    b.Item(0, 0, u"");  // separator
    b.Item(kMenuTemplateEnd, 57665, u"E&xit\tAlt+F4");
    b.Popup(kMenuTemplateGrayed, u"&Tools");
    b.Popup(kMenuTemplateEnd, u"&More");
    b.Item(kMenuTemplateEnd | kMenuTemplateChecked, 40001, u"&Inner");
    b.Item(kMenuTemplateEnd, 32772, u"&Donate");
    return b;
}

}  // namespace

TEST(MenuTemplate, ReadsNestedPopupsAndItems)
{
    Bytes b = MainMenu();
    std::vector<MenuTemplateItem> items;
    ASSERT_TRUE(ParseMenuTemplate(b.data.data(), b.data.size(), &items));
    ASSERT_EQ(items.size(), 3u);

    const MenuTemplateItem& file = items[0];
    EXPECT_TRUE(file.IsPopup());
    EXPECT_EQ(file.text, u"&File");
    ASSERT_EQ(file.children.size(), 3u);
    EXPECT_EQ(file.children[0].id, 57600);
    EXPECT_EQ(file.children[0].text, u"&New");
    EXPECT_TRUE(file.children[1].IsSeparator());
    EXPECT_EQ(file.children[2].text, u"E&xit\tAlt+F4");
    EXPECT_EQ(file.children[2].flags & kMenuTemplateEnd, 0) << "the end flag is not kept";

    const MenuTemplateItem& tools = items[1];
    EXPECT_EQ(tools.flags, kMenuTemplatePopup | kMenuTemplateGrayed);
    ASSERT_EQ(tools.children.size(), 1u);
    ASSERT_EQ(tools.children[0].children.size(), 1u);
    EXPECT_EQ(tools.children[0].children[0].flags, kMenuTemplateChecked);

    EXPECT_FALSE(items[2].IsPopup());
    EXPECT_EQ(items[2].id, 32772);
}

TEST(MenuTemplate, HeaderOffsetIsSkipped)
{
    Bytes b;
    b.Word(0).Word(4).Word(0xabcd).Word(0xabcd);
    b.Item(kMenuTemplateEnd, 7, u"A");
    std::vector<MenuTemplateItem> items;
    ASSERT_TRUE(ParseMenuTemplate(b.data.data(), b.data.size(), &items));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, 7);
}

TEST(MenuTemplate, SeparatorFlagCountsAsSeparator)
{
    MenuTemplateItem item;
    item.flags = kMenuTemplateSeparator;
    item.id = 5;
    item.text = u"x";
    EXPECT_TRUE(item.IsSeparator());
    MenuTemplateItem popup;
    popup.flags = kMenuTemplatePopup;
    EXPECT_FALSE(popup.IsSeparator()) << "an empty popup title is not a separator";
}

TEST(MenuTemplate, RefusesExtendedAndTruncatedTemplates)
{
    std::vector<MenuTemplateItem> items;
    Bytes extended;
    extended.Word(1).Word(4).Word(0).Word(0);
    EXPECT_FALSE(ParseMenuTemplate(extended.data.data(), extended.data.size(), &items));

    const std::vector<unsigned char> full = MainMenu().data;
    for (std::size_t cut = 0; cut < full.size(); ++cut)
        EXPECT_FALSE(ParseMenuTemplate(full.data(), cut, &items)) << "cut at " << cut;
    EXPECT_FALSE(ParseMenuTemplate(nullptr, 10, &items));
}

TEST(MenuTemplate, PopupWithoutEndIsRefused)
{
    Bytes b;
    b.Word(0).Word(0).Popup(kMenuTemplateEnd, u"P").Item(0, 1, u"a").Item(0, 2, u"b");
    std::vector<MenuTemplateItem> items;
    EXPECT_FALSE(ParseMenuTemplate(b.data.data(), b.data.size(), &items));
}

TEST(MenuTemplate, EndlessNestingIsRefused)
{
    Bytes b;
    b.Word(0).Word(0);
    for (int i = 0; i < 40; ++i)
        b.Popup(kMenuTemplateEnd, u"P");
    b.Item(kMenuTemplateEnd, 1, u"a");
    std::vector<MenuTemplateItem> items;
    EXPECT_FALSE(ParseMenuTemplate(b.data.data(), b.data.size(), &items));
}
