// Builds the settings-folder paths within a fixed-size buffer.
#pragma once

#include <cstddef>
#include <string>

namespace gui_logic {

// "<folder>\<name>" into out (outSize characters including the terminator). Returns
// false, with out left empty, when the result would not fit.
bool JoinPath(char* out, std::size_t outSize, const char* folder, const char* name);

// "<folder>\<name>.ini" as a string; empty when it exceeds maxLength characters.
std::string ProfilePath(const std::string& folder, const std::string& name, std::size_t maxLength);

}  // namespace gui_logic
