#include "controller/logic/program_names.h"

#include <cstring>

#include "profile/path_parts.h"

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

const char* ComparableProcessName(const char* reportedName, bool ntFamily)
{
    if (reportedName == nullptr)
        return "";
    return ntFamily ? reportedName : profile::FileNameOfPath(reportedName);
}

bool SameTextIgnoringCase(const char* a, const char* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (FoldCase(*a) != FoldCase(*b))
            return false;
    }
    return *a == *b;
}

bool IsShellProgramKey(const char* key) { return key != nullptr && std::strcmp(key, "explorer.exe") == 0; }

unsigned long CloseWaitMilliseconds(int nonResponseSeconds)
{
    if (nonResponseSeconds <= 0)
        return 0;
    // Keep well inside the 49.7-day tick counter so that the elapsed-time test still works.
    const unsigned long kMaxSeconds = 24UL * 60 * 60;
    const unsigned long seconds = static_cast<unsigned long>(nonResponseSeconds);
    return (seconds > kMaxSeconds ? kMaxSeconds : seconds) * 1000UL;
}
