// The six priority texts of a profile and the Windows priority classes they stand for.
#pragma once

namespace profile {

// Values of the Windows priority-class constants, kept here so this file needs no <windows.h>.
constexpr unsigned long kRealtimePriorityClass = 0x100;
constexpr unsigned long kHighPriorityClass = 0x80;
constexpr unsigned long kAboveNormalPriorityClass = 0x8000;
constexpr unsigned long kNormalPriorityClass = 0x20;
constexpr unsigned long kBelowNormalPriorityClass = 0x4000;
constexpr unsigned long kIdlePriorityClass = 0x40;

struct PriorityText {
    const char* text;
    unsigned long priorityClass;
};

// In the order the GUI offers them.
extern const PriorityText kPriorityTexts[6];

// Whole, case-sensitive match; any other text (null included) gives the normal class.
unsigned long PriorityClassFromText(const char* text);

}  // namespace profile
