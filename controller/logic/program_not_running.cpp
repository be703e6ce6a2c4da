#include "controller/logic/program_not_running.h"

#include "controller/logic/program_names.h"

void NotRunningList::Add(const char* text) { m_texts.emplace_back(text != nullptr ? text : ""); }

bool NotRunningList::Contains(const char* text) const
{
    for (const std::string& recorded : m_texts) {
        if (SameTextIgnoringCase(recorded.c_str(), text != nullptr ? text : ""))
            return true;
    }
    return false;
}
