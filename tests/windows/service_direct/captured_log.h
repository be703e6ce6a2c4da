// The controller's LogMessage for tests that link controller code directly: messages are
// kept in memory, with their levels, instead of being printed; so are the journal's service
// calls ("+key", "-key"), at level -1.
#pragma once

#include <string>
#include <vector>

namespace zt {

struct CapturedMessage {
    int level;
    std::string text;
    bool operator==(const CapturedMessage& other) const { return level == other.level && text == other.text; }
    bool operator<(const CapturedMessage& other) const
    {
        return level != other.level ? level < other.level : text < other.text;
    }
};

// Everything logged since the last call, in order.
std::vector<CapturedMessage> TakeCapturedMessages();

}  // namespace zt
