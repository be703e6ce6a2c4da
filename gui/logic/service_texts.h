// Texts of the Services dialog: the state of a service, its display name as listed,
// the description failure and the help window's text.
#pragma once

#include <string>

namespace gui_logic {

// "Stopped", "Starting", ... for the service states 1 to 7; empty for any other value.
const char* ServiceStateText(unsigned long state);

// The text without its trailing blanks, tabs and line breaks.
std::string TrimTrailingWhiteSpace(const std::string& text);

// "Unable to retrieve: error %d".
std::string DescriptionErrorText(unsigned long error);

// The help window's text for a service: with its help entry's value, or, when the
// value is empty (no entry), the "No additional help available." text.
std::string ServiceHelpText(const std::string& displayName, const std::string& helpValue);

}  // namespace gui_logic
