#include "gui/logic/console_text.h"

namespace gui_logic {

std::string ConsoleTextForEdit(const std::string& raw)
{
    std::string text;
    text.reserve(raw.size() + raw.size() / 8);
    for (char c : raw) {
        if (c == '\r' || c == '\0')
            continue;
        if (c == '\n')
            text += '\r';
        text += c;
    }
    return text;
}

}  // namespace gui_logic
