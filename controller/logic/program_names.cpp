#include "controller/logic/program_names.h"

#include <cstring>

#include "profile/name_compare.h"
#include "profile/path_parts.h"

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
    return profile::SameName(a, b);
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
