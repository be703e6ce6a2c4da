// The texts of owner-drawn menu items: lining up the accelerator texts of a popup and
// finding the item of a typed menu character.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace gui_logic {

// The parts of an item text before and after its first tab character.
std::u16string TextBeforeTab(const std::u16string& text);
std::u16string TextAfterTab(const std::u16string& text);  // empty without a tab

// Pads the part before the tab of every text with blanks, as measured by `width`,
// until it is at least as wide as the widest such part followed by one blank. The
// part after the tab (and the tab) is kept. Texts of separators are left alone by
// passing them as empty strings.
void PadBeforeTabs(std::vector<std::u16string>* texts,
                   const std::function<int(const std::u16string&)>& width);

// Position of the first text (already lower-cased) that contains "&" followed by
// `lowerChar`, or -1.
int FindMenuCharacter(const std::vector<std::u16string>& lowerTexts, char16_t lowerChar);

}  // namespace gui_logic
