#include "gui/logic/profile_title.h"

namespace gui_logic {

std::string TitleOfProfilePath(const std::string& path)
{
    std::string::size_type slash = path.rfind('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

std::string MainWindowTitle(const std::string& profilePath)
{
    return "Zephlaunch - " + TitleOfProfilePath(profilePath);
}

std::string ProfileInfoTip(const std::string& name, const std::string& description)
{
    return "Profile: " + name + "\r\nDescription: " + description;
}

std::string ProfileNameOfFile(const std::string& fileName)
{
    std::string::size_type dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

}  // namespace gui_logic
