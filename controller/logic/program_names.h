// How the controller matches a running process against a [Programs] key (or another
// program name) and how long it lets a program take to close.
#pragma once

#include <cstddef>

// The part of a reported process name that is compared with a program name: the name
// unchanged on the NT family, the text after the last "\" on Windows 9x/ME (where the
// process list reports full paths).
const char* ComparableProcessName(const char* reportedName, bool ntFamily);

// Equal apart from letter case, as Windows compares names (profile::SameName).
bool SameTextIgnoringCase(const char* a, const char* b);

// The key of the Windows shell, which gets the shell-restart handling. Case-sensitive on
// purpose: a key written "Explorer.exe" is treated like any other program.
bool IsShellProgramKey(const char* key);

// Milliseconds a program may take to close after WM_CLOSE: nonresponse seconds, with a
// negative setting read as 0 and a huge one held below the tick counter's range.
unsigned long CloseWaitMilliseconds(int nonResponseSeconds);
