#include "gui/logic/service_texts.h"

#include <cstdio>

namespace gui_logic {

const char* ServiceStateText(unsigned long state)
{
    static const char* const kTexts[] = {"Stopped",    "Starting", "Stopping", "Running",
                                         "Continuing", "Pausing",  "Paused"};
    if (state < 1 || state > 7)
        return "";
    return kTexts[state - 1];
}

std::string TrimTrailingWhiteSpace(const std::string& text)
{
    std::string::size_type end = text.find_last_not_of(" \t\r\n\v\f");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string DescriptionErrorText(unsigned long error)
{
    char text[64];
    std::snprintf(text, sizeof text, "Unable to retrieve: error %d", static_cast<int>(error));
    return text;
}

std::string ServiceHelpText(const std::string& displayName, const std::string& helpValue)
{
    if (helpValue.empty())
        return displayName + "\r\n\r\nNo additional help available.";
    return displayName + "\r\n\r\n" + helpValue +
           "\r\n\r\nDISCLAIMER:  These recommendations may or may not work for you.  Please use with caution.  If you "
           "notice any problems, you may reboot your computer since nothing is permanently disabled with this software.";
}

}  // namespace gui_logic
