#include "gui/logic/action_choice.h"

#include "profile/profile_keys.h"

namespace gui_logic {

ActionChoices ActionChoicesForCell(const std::string&, bool neverStop)
{
    ActionChoices choices;
    if (neverStop) {
        choices.items = {profile::kActionNoAction};
        choices.fixed = true;
    } else {
        choices.items = {profile::kActionNoAction, profile::kActionStop, profile::kActionStopRestart};
    }
    choices.initialSelection = 0;
    return choices;
}

std::string ShownAction(const std::string& storedAction, bool neverStop)
{
    return neverStop ? std::string(profile::kActionNoAction) : storedAction;
}

std::string NeverStopHelpText(const std::string& rowName, const std::string& usualText)
{
    std::string text = "Windows needs " + rowName + ": Zephlaunch never stops it.";
    if (!usualText.empty())
        text += "\r\n\r\n" + usualText;
    return text;
}

}  // namespace gui_logic
