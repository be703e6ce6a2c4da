// What the in-place list offers for an action cell. Every action cell of the GUI gets
// its choices here, so a rule about which actions a row may take has one place to go.
#pragma once

#include <string>
#include <vector>

namespace gui_logic {

struct ActionChoices {
    std::vector<std::string> items;  // in the order shown
    int initialSelection = 0;        // index into items
};

// The choices for an action cell holding currentText: "No Action", "Stop",
// "Stop & Restart", with "No Action" preselected whatever the cell holds.
ActionChoices ActionChoicesForCell(const std::string& currentText);

}  // namespace gui_logic
