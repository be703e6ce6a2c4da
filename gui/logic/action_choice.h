// What the in-place list offers for an action cell. Every action cell of the GUI gets
// its choices here, so a rule about which actions a row may take has one place to go.
//
// A row that Windows needs (profile::IsNeverStopProcess / IsNeverStopService) has one
// action only, "No Action": the controller never stops such a process or service, so
// the dialogs show what a run will do and offer nothing else.
#pragma once

#include <string>
#include <vector>

namespace gui_logic {

struct ActionChoices {
    std::vector<std::string> items;  // in the order shown
    int initialSelection = -1;       // index into items; -1: none
    bool fixed = false;              // the row's action cannot change: no drop-down opens
};

// The choices for an action cell holding currentText: "No Action", "Stop",
// "Stop & Restart", with the cell's own action preselected (none when the cell holds
// another text, such as "stop" from a hand-edited profile); for a row Windows needs,
// "No Action" alone and fixed.
ActionChoices ActionChoicesForCell(const std::string& currentText, bool neverStop = false);

// The action a row shows (and Save writes) for the action its profile holds.
std::string ShownAction(const std::string& storedAction, bool neverStop);

// The help window's text for a row Windows needs: one line naming why its action is
// fixed, then the row's usual help text (if any) after a blank line.
std::string NeverStopHelpText(const std::string& rowName, const std::string& usualText);

}  // namespace gui_logic
