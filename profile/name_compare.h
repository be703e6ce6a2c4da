// Names as the profile functions match them: program module names, profile keys and
// service key names are one name whatever the letter case of any letter of the ANSI code
// page ("Über.exe" and "über.exe"), not only of A to Z, and two names otherwise only when
// their characters are the same ("Straße.exe" and "Strasse.exe" are two names).
#pragma once

namespace profile {

// Orders two names by their bytes after folding each character to its simple upper case
// (A to Z by hand; the other letters of the ANSI code page one character at a time through
// CharUpperBuffA, only A to Z where there is no Windows, in the native unit tests). Never
// linguistic: nothing is expanded, joined or ignored. Null counts as "".
int CompareNames(const char* a, const char* b);
inline bool SameName(const char* a, const char* b) { return CompareNames(a, b) == 0; }

}  // namespace profile
