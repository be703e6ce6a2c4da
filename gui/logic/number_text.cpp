#include "gui/logic/number_text.h"

#include <cctype>
#include <climits>

namespace gui_logic {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Parses [blanks][sign][digits][blanks] into a 64-bit value; false on anything else
// or on more digits than a 32-bit value can need.
bool ParseWhole(const std::string& text, bool allowSign, long long* value)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    size_t digitsStart = i;
    long long result = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        result = result * 10 + (text[i] - '0');
        if (result > 0xFFFFFFFFLL)
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    *value = negative ? -result : result;
    return true;
}

}  // namespace

bool ParseIntText(const std::string& text, int* value)
{
    long long parsed = 0;
    if (!ParseWhole(text, true, &parsed) || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    *value = static_cast<int>(parsed);
    return true;
}

bool ParseUIntText(const std::string& text, unsigned* value)
{
    long long parsed = 0;
    if (!ParseWhole(text, false, &parsed) || parsed > static_cast<long long>(UINT_MAX))
        return false;
    *value = static_cast<unsigned>(parsed);
    return true;
}

std::string IntParseMessage() { return "Please enter an integer."; }

std::string UIntParseMessage() { return "Please enter a positive integer."; }

std::string IntRangeMessage(long long low, long long high)
{
    return "Please enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".";
}

std::string MaxCharsMessage(int maxChars)
{
    return "Please enter no more than " + std::to_string(maxChars) + " characters.";
}

}  // namespace gui_logic
