#include "gui/logic/menu_item_text.h"

namespace gui_logic {

namespace {

// Enough blanks to pad any real menu text; a font whose blank has no width
// cannot make the padding run on.
constexpr int kMaxPadding = 256;

}  // namespace

std::u16string TextBeforeTab(const std::u16string& text)
{
    std::u16string::size_type tab = text.find(u'\t');
    return tab == std::u16string::npos ? text : text.substr(0, tab);
}

std::u16string TextAfterTab(const std::u16string& text)
{
    std::u16string::size_type tab = text.find(u'\t');
    return tab == std::u16string::npos ? std::u16string() : text.substr(tab + 1);
}

void PadBeforeTabs(std::vector<std::u16string>* texts, const std::function<int(const std::u16string&)>& width)
{
    int target = 0;
    for (const std::u16string& text : *texts) {
        if (text.empty())
            continue;
        int w = width(TextBeforeTab(text) + u" ");
        if (w > target)
            target = w;
    }
    for (std::u16string& text : *texts) {
        if (text.empty())
            continue;
        std::u16string::size_type tab = text.find(u'\t');
        std::u16string before = tab == std::u16string::npos ? text : text.substr(0, tab);
        std::u16string rest = tab == std::u16string::npos ? std::u16string() : text.substr(tab);
        for (int added = 0; added < kMaxPadding && width(before) < target; ++added)
            before.push_back(u' ');
        text = before + rest;
    }
}

int FindMenuCharacter(const std::vector<std::u16string>& lowerTexts, char16_t lowerChar)
{
    const char16_t key[] = {u'&', lowerChar, 0};
    for (std::size_t i = 0; i < lowerTexts.size(); ++i) {
        if (lowerTexts[i].find(key) != std::u16string::npos)
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace gui_logic
