// Names as Windows matches them: program module names, profile keys and service key
// names are one name whatever the letter case of any letter of the ANSI code page
// ("Über.exe" and "über.exe"), not only of A to Z.
#pragma once

namespace profile {

// Orders two names without regard to letter case (lstrcmpiA on Windows; letters A to Z
// only where there is no Windows, in the native unit tests). Null counts as "".
int CompareNames(const char* a, const char* b);
inline bool SameName(const char* a, const char* b) { return CompareNames(a, b) == 0; }

}  // namespace profile
