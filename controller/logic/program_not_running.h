// The texts that phase 2 records for [Programs] entries whose program was not running,
// so that phase 9 does not start those programs. Holds any number of entries (a run with
// more than 64 such programs keeps them all). Not synchronised: callers hold the lock.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class NotRunningList {
public:
    void Add(const char* text);
    // True when text equals a recorded one, without regard to letter case.
    bool Contains(const char* text) const;
    std::size_t Count() const { return m_texts.size(); }

private:
    std::vector<std::string> m_texts;
};
