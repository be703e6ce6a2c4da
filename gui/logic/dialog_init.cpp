#include "gui/logic/dialog_init.h"

#include <cstring>

namespace gui_logic {

namespace {

unsigned ReadWord(const unsigned char* p)
{
    return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
}

unsigned long ReadDword(const unsigned char* p)
{
    return static_cast<unsigned long>(ReadWord(p)) | (static_cast<unsigned long>(ReadWord(p + 2)) << 16);
}

}  // namespace

std::vector<DialogInitEntry> ParseDialogInit(const void* data, std::size_t size)
{
    std::vector<DialogInitEntry> entries;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    if (!bytes)
        return entries;
    std::size_t pos = 0;
    while (size - pos >= 2) {
        unsigned id = ReadWord(bytes + pos);
        if (id == 0)
            break;
        if (size - pos < 8)
            break;
        unsigned message = ReadWord(bytes + pos + 2);
        unsigned long length = ReadDword(bytes + pos + 4);
        pos += 8;
        if (length > size - pos)
            break;
        const char* text = reinterpret_cast<const char*>(bytes + pos);
        const void* nul = std::memchr(text, '\0', length);
        std::size_t textLength =
            nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : length;
        DialogInitEntry entry;
        entry.controlId = static_cast<int>(static_cast<short>(id));
        entry.message = message;
        entry.text.assign(text, textLength);
        entries.push_back(entry);
        pos += length;
    }
    return entries;
}

}  // namespace gui_logic
