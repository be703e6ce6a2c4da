// Names shown for profile files: the title of a profile path and the main window's
// title built from it, and the text of a profile's info tip.
#pragma once

#include <string>

namespace gui_logic {

// The characters after the last "\" up to, not including, the first "." after it
// (or to the end): C:\p\my.test.ini gives "my".
std::string TitleOfProfilePath(const std::string& path);

// "Zephlaunch - <title of path>".
std::string MainWindowTitle(const std::string& profilePath);

// "Profile: <name>\r\nDescription: <description>".
std::string ProfileInfoTip(const std::string& name, const std::string& description);

// The file name without its extension (the text up to the last "."): my.test.ini gives my.test.
std::string ProfileNameOfFile(const std::string& fileName);

}  // namespace gui_logic
