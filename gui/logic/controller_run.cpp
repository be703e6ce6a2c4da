#include "gui/logic/controller_run.h"

#include "profile/entry_values.h"

#include <cstring>

namespace gui_logic {

namespace {

bool SameTextIgnoringCase(const char* a, std::size_t aLength, const char* b)
{
    std::size_t bLength = std::strlen(b);
    if (aLength != bLength)
        return false;
    for (std::size_t i = 0; i < aLength; ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// Calls visit(key, keyLength, value) for each key=value string of a section buffer,
// never reading past size bytes; an unterminated last string is ignored.
template <typename Visit>
bool AnyEntry(const char* buffer, std::size_t size, Visit&& visit)
{
    if (!buffer)
        return false;
    std::size_t offset = 0;
    while (offset < size && buffer[offset] != '\0') {
        const void* end = std::memchr(buffer + offset, '\0', size - offset);
        if (!end)
            return false;
        const char* entry = buffer + offset;
        std::size_t length = static_cast<std::size_t>(static_cast<const char*>(end) - entry);
        const void* equals = std::memchr(entry, '=', length);
        if (equals) {
            std::size_t keyLength = static_cast<std::size_t>(static_cast<const char*>(equals) - entry);
            if (visit(entry, keyLength, static_cast<const char*>(equals) + 1))
                return true;
        }
        offset += length + 1;
    }
    return false;
}

}  // namespace

std::string QuotedArgument(const std::string& profilePath) { return "\"" + profilePath + "\""; }

std::string ControllerCommandLine(const std::string& controllerPath, const std::string& profilePath)
{
    return QuotedArgument(controllerPath) + " " + QuotedArgument(profilePath);
}

std::string LinkProfileName(const std::string& profilePath)
{
    std::string::size_type slash = profilePath.rfind('\\');
    std::string name = slash == std::string::npos ? profilePath : profilePath.substr(slash + 1);
    return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

std::string LinkFilePath(const std::string& folder, const std::string& profileName)
{
    return folder + "\\Zephlaunch " + profileName + ".lnk";
}

std::string LinkDescription(const std::string& profileName)
{
    return "Open this to start Zephlaunch with the " + profileName + " profile";
}

bool RunNeedsAdministrator(const char* programs, std::size_t programsSize, const char* services,
                           std::size_t servicesSize)
{
    bool servicesStop = AnyEntry(services, servicesSize, [](const char*, std::size_t, const char* value) {
        return !profile::ServiceIsNoAction(value);
    });
    if (servicesStop)
        return true;
    return AnyEntry(programs, programsSize, [](const char* key, std::size_t keyLength, const char* value) {
        return SameTextIgnoringCase(key, keyLength, "explorer.exe") && !profile::ProgramIsNoAction(value);
    });
}

}  // namespace gui_logic
