#include "gui/logic/profile_name.h"

#include <cctype>
#include <cstring>

namespace gui_logic {

namespace {

bool IsForbidden(unsigned char c) { return c < 32 || std::strchr("\\/:*?\"<>|", c) != nullptr; }

std::string UpperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Windows maps these names (also with blanks before an extension) to devices.
bool IsReservedDevice(const std::string& name)
{
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    base = UpperCase(base);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0))
        return base[3] >= '1' && base[3] <= '9';
    return false;
}

}  // namespace

ProfileNameProblem CheckProfileName(const std::string& name, std::size_t maxNameLength)
{
    if (name.empty())
        return ProfileNameProblem::Empty;
    for (char c : name) {
        if (IsForbidden(static_cast<unsigned char>(c)))
            return ProfileNameProblem::ForbiddenCharacter;
    }
    if (name == "." || name == "..")
        return ProfileNameProblem::DotsOnly;
    if (IsReservedDevice(name))
        return ProfileNameProblem::ReservedDevice;
    if (name.size() > maxNameLength)
        return ProfileNameProblem::TooLong;
    return ProfileNameProblem::None;
}

std::size_t MaxProfileNameLength(std::size_t folderLength, std::size_t pathBufferSize)
{
    const std::size_t fixed = folderLength + 1 /* \ */ + 4 /* .ini */ + 1 /* terminator */;
    return pathBufferSize > fixed ? pathBufferSize - fixed : 0;
}

std::string ProfileNameMessage(ProfileNameProblem problem, const std::string& name)
{
    switch (problem) {
    case ProfileNameProblem::None:
        return std::string();
    case ProfileNameProblem::Empty:
        return "You must enter a name for this profile.";
    case ProfileNameProblem::ForbiddenCharacter:
        return "A profile name cannot contain any of the following characters:\r\n\\ / : * ? \" < > |";
    case ProfileNameProblem::DotsOnly:
        return "A profile name cannot be \".\" or \"..\".";
    case ProfileNameProblem::ReservedDevice:
        return "\"" + name + "\" is reserved by Windows for a device and cannot be used as a profile name.";
    case ProfileNameProblem::TooLong:
        return "This profile name is too long.";
    }
    return std::string();
}

}  // namespace gui_logic
