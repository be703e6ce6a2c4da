// How the GUI starts the controller for a profile: the command line, the name the
// profile gives its shortcut, and whether the run needs administrator rights.
#pragma once

#include <cstddef>
#include <string>

namespace gui_logic {

// "\"<controller>\" \"<profile>\"": both paths quoted, so a controller under
// "C:\Program Files\..." never runs "C:\Program.exe".
std::string ControllerCommandLine(const std::string& controllerPath, const std::string& profilePath);
// "\"<profile>\"": the argument of the controller (and of a shortcut to it).
std::string QuotedArgument(const std::string& profilePath);

// The profile's name in a shortcut: the text after the last "\" without its last four
// characters (".ini"): C:\p\a.b.ini gives "a.b". A name of four characters or fewer
// gives "".
std::string LinkProfileName(const std::string& profilePath);
// "<folder>\Zephlaunch <name>.lnk".
std::string LinkFilePath(const std::string& folder, const std::string& profileName);
// "Open this to start Zephlaunch with the <name> profile".
std::string LinkDescription(const std::string& profileName);

// Whether a run of the profile needs administrator rights: some [Services] entry is
// stopped (any value but exactly "No Action", as the controller reads it), or the
// [Programs] entry explorer.exe (any case) is ended (a value that does not begin with
// "No Action"). Both sections as GetPrivateProfileSection returns them: key=value
// strings, each ending in a NUL, the list ending in an empty one.
bool RunNeedsAdministrator(const char* programs, std::size_t programsSize, const char* services,
                           std::size_t servicesSize);

}  // namespace gui_logic
