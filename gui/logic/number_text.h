// Reading whole numbers typed into edit controls, and the standard messages shown
// when a typed value is refused by dialog data exchange.
#pragma once

#include <string>

namespace gui_logic {

// Optional blanks, an optional sign, decimal digits, optional blanks; nothing else,
// and the value must fit the type.
bool ParseIntText(const std::string& text, int* value);
// As ParseIntText without a sign.
bool ParseUIntText(const std::string& text, unsigned* value);

std::string IntParseMessage();                               // "Please enter an integer."
std::string UIntParseMessage();                              // "Please enter a positive integer."
std::string IntRangeMessage(long long low, long long high);  // "Please enter an integer between L and H."
std::string MaxCharsMessage(int maxChars);                   // "Please enter no more than N characters."

}  // namespace gui_logic
