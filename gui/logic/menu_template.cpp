#include "gui/logic/menu_template.h"

namespace gui_logic {

namespace {

// Nesting deeper than this is not a menu anybody wrote; it stops a malformed
// template from recursing without end.
constexpr int kMaxDepth = 16;

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Word(std::uint16_t* value)
    {
        if (m_size - m_pos < 2)
            return false;
        *value = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }

    bool Text(std::u16string* text)
    {
        text->clear();
        for (;;) {
            std::uint16_t ch = 0;
            if (!Word(&ch))
                return false;
            if (ch == 0)
                return true;
            text->push_back(static_cast<char16_t>(ch));
        }
    }

    bool Skip(std::size_t bytes)
    {
        if (m_size - m_pos < bytes)
            return false;
        m_pos += bytes;
        return true;
    }

private:
    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

bool ParseLevel(Reader& reader, int depth, std::vector<MenuTemplateItem>* items)
{
    if (depth > kMaxDepth)
        return false;
    for (;;) {
        MenuTemplateItem item;
        std::uint16_t flags = 0;
        if (!reader.Word(&flags))
            return false;
        item.flags = static_cast<std::uint16_t>(flags & ~kMenuTemplateEnd);
        if (!(flags & kMenuTemplatePopup) && !reader.Word(&item.id))
            return false;
        if (!reader.Text(&item.text))
            return false;
        if (flags & kMenuTemplatePopup) {
            if (!ParseLevel(reader, depth + 1, &item.children))
                return false;
        }
        items->push_back(std::move(item));
        if (flags & kMenuTemplateEnd)
            return true;
    }
}

}  // namespace

bool ParseMenuTemplate(const unsigned char* data, std::size_t size, std::vector<MenuTemplateItem>* items)
{
    items->clear();
    if (!data)
        return false;
    Reader reader(data, size);
    std::uint16_t version = 0;
    std::uint16_t offset = 0;
    if (!reader.Word(&version) || !reader.Word(&offset) || version != 0)
        return false;
    if (!reader.Skip(offset))
        return false;
    return ParseLevel(reader, 0, items);
}

}  // namespace gui_logic
