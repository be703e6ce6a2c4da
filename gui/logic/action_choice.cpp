#include "gui/logic/action_choice.h"

#include "profile/profile_keys.h"

namespace gui_logic {

ActionChoices ActionChoicesForCell(const std::string& currentText, bool neverStop)
{
    ActionChoices choices;
    if (neverStop) {
        choices.items = {profile::kActionNoAction};
        choices.initialSelection = 0;
        choices.fixed = true;
        return choices;
    }
    choices.items = {profile::kActionNoAction, profile::kActionStop, profile::kActionStopRestart};
    for (std::size_t i = 0; i < choices.items.size(); ++i)
        if (choices.items[i] == currentText)
            choices.initialSelection = static_cast<int>(i);
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
