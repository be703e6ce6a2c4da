// The initialisation data of a dialog template (resource type 240): strings that the
// dialog adds to its combo and list boxes before its own initialisation. Layout, all
// little-endian: entries of WORD control id, WORD message, DWORD byte count and that
// many bytes (text, normally ending in a NUL), ended by a WORD 0 or the data's end.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace gui_logic {

// The add-string messages as the resource compiler stores them (16-bit numbers).
constexpr unsigned kOldListAddString = 0x0401;
constexpr unsigned kOldComboAddString = 0x0403;

struct DialogInitEntry {
    int controlId = 0;
    unsigned message = 0;
    std::string text;  // up to the first NUL of the entry's bytes
};

// Entries in resource order; a truncated last entry is dropped.
std::vector<DialogInitEntry> ParseDialogInit(const void* data, std::size_t size);

}  // namespace gui_logic
