#include "profile/priority_text.h"

#include <cstring>

namespace profile {

const PriorityText kPriorityTexts[6] = {
    {"Realtime", kRealtimePriorityClass},        {"High", kHighPriorityClass},
    {"Above Normal", kAboveNormalPriorityClass}, {"Normal", kNormalPriorityClass},
    {"Below Normal", kBelowNormalPriorityClass}, {"Low", kIdlePriorityClass},
};

unsigned long PriorityClassFromText(const char* text)
{
    if (text == nullptr)
        return kNormalPriorityClass;
    for (const PriorityText& entry : kPriorityTexts) {
        if (std::strcmp(entry.text, text) == 0)
            return entry.priorityClass;
    }
    return kNormalPriorityClass;
}

}  // namespace profile
