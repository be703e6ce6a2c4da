// The [Programs] keys already handled in one walk. Keys are compared without regard to
// letter case, as the profile functions and the process names compare them, so that two
// lines differing only in case are one entry (and one program is not stopped or started
// by two threads at once).
#pragma once

#include <string>
#include <vector>

class ProgramKeySet {
public:
    // True when key was not in the set yet (it is added); false for a repeat.
    bool Insert(const char* key);

private:
    std::vector<std::string> m_keys;
};
