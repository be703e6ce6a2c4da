// How the controller reads the values of [Programs], [Services] and [AutoStart] entries.
#pragma once

#include <cstddef>

namespace profile {

// [Programs]: the controller tests prefixes only.
bool ProgramIsNoAction(const char* value);     // first 9 characters are "No Action"
bool ProgramIsStopRestart(const char* value);  // first 14 characters are "Stop & Restart"
// The text from the value's 16th character on (the path after "Stop & Restart|");
// empty for a value shorter than that. Never reads past the value.
const char* ProgramPathPart(const char* value);

// [Services]: whole values, case-sensitive.
bool ServiceIsNoAction(const char* value);  // exactly "No Action"
bool ServiceRestarts(const char* value);    // neither "No Action" nor "Stop"

// [AutoStart]: arguments up to the first "|", delay from the text after the last "|".
// Writes the arguments into out (always terminated, cut to outSize - 1).
void AutoStartArguments(const char* value, char* out, std::size_t outSize);
int AutoStartDelay(const char* value);

// The integer value of a text as the C library's atoi reads it (leading blanks,
// optional sign, decimal digits; 0 when there are none), clamped to the int range
// instead of overflowing.
int LeadingInteger(const char* text);

}  // namespace profile
