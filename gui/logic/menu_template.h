// Reading a standard (not extended) menu template as the resource compiler stores it:
// a 4-byte header (version 0, offset of the items), then the items in order. A popup
// item has its flags and text and is followed by its own items; the last item of each
// level carries the end flag.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gui_logic {

// Flag values of the template (the same as the MF_ menu flags).
constexpr std::uint16_t kMenuTemplateGrayed = 0x0001;
constexpr std::uint16_t kMenuTemplateDisabled = 0x0002;
constexpr std::uint16_t kMenuTemplateChecked = 0x0008;
constexpr std::uint16_t kMenuTemplatePopup = 0x0010;
constexpr std::uint16_t kMenuTemplateEnd = 0x0080;
constexpr std::uint16_t kMenuTemplateSeparator = 0x0800;

struct MenuTemplateItem {
    std::uint16_t flags = 0;  // without the end flag
    std::uint16_t id = 0;     // 0 for popups
    std::u16string text;
    std::vector<MenuTemplateItem> children;

    bool IsPopup() const { return (flags & kMenuTemplatePopup) != 0; }
    bool IsSeparator() const
    {
        return !IsPopup() && ((flags & kMenuTemplateSeparator) != 0 || (id == 0 && text.empty()));
    }
};

// Parses the template in data[0..size). Returns false for an extended template or
// for bytes that end before the template does (the items are then incomplete).
bool ParseMenuTemplate(const unsigned char* data, std::size_t size, std::vector<MenuTemplateItem>* items);

}  // namespace gui_logic
