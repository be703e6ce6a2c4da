#include "profile/entry_values.h"

#include <climits>
#include <cstring>

#include "profile/profile_keys.h"

namespace profile {

namespace {

bool StartsWith(const char* value, const char* prefix)
{
    return value != nullptr && std::strncmp(value, prefix, std::strlen(prefix)) == 0;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

bool ProgramIsNoAction(const char* value) { return StartsWith(value, kActionNoAction); }

bool ProgramIsStopRestart(const char* value) { return StartsWith(value, kActionStopRestart); }

const char* ProgramPathPart(const char* value)
{
    if (value == nullptr)
        return "";
    // The 16th character is index 15: past "Stop & Restart|".
    const std::size_t kPathOffset = 15;
    if (std::strlen(value) < kPathOffset)
        return "";
    return value + kPathOffset;
}

bool ServiceIsNoAction(const char* value)
{
    return value != nullptr && std::strcmp(value, kActionNoAction) == 0;
}

bool ServiceRestarts(const char* value)
{
    return value != nullptr && std::strcmp(value, kActionNoAction) != 0
           && std::strcmp(value, kActionStop) != 0;
}

void AutoStartArguments(const char* value, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0)
        return;
    out[0] = '\0';
    if (value == nullptr)
        return;
    std::size_t length = std::strcspn(value, "|");
    if (length >= outSize)
        length = outSize - 1;
    std::memcpy(out, value, length);
    out[length] = '\0';
}

int AutoStartDelay(const char* value)
{
    if (value == nullptr)
        return 0;
    const char* bar = std::strrchr(value, '|');
    return bar == nullptr ? 0 : LeadingInteger(bar + 1);
}

int LeadingInteger(const char* text)
{
    if (text == nullptr)
        return 0;
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = (*text == '-');
        ++text;
    }
    long long magnitude = 0;
    while (*text >= '0' && *text <= '9') {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (*text - '0');
        ++text;
    }
    if (negative)
        return magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

}  // namespace profile
