#include "gui/logic/action_choice.h"

#include "profile/profile_keys.h"

namespace gui_logic {

ActionChoices ActionChoicesForCell(const std::string&)
{
    ActionChoices choices;
    choices.items = {profile::kActionNoAction, profile::kActionStop, profile::kActionStopRestart};
    choices.initialSelection = 0;
    return choices;
}

}  // namespace gui_logic
