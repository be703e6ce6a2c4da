// The controller's console output as a multi-line edit control shows it.
#pragma once

#include <string>

namespace gui_logic {

// Line breaks become "\r\n" whatever form they came in ("\r\n", the "\r\r\n" of a text-mode
// stream, a lone "\n"); a "\r" that only returned to the line start is dropped. NUL bytes
// are dropped as well: the edit control would end the text there.
std::string ConsoleTextForEdit(const std::string& raw);

}  // namespace gui_logic
