#include "gui/logic/path_join.h"

#include <cstdio>

namespace gui_logic {

bool JoinPath(char* out, std::size_t outSize, const char* folder, const char* name)
{
    if (outSize == 0)
        return false;
    int written = std::snprintf(out, outSize, "%s\\%s", folder, name);
    if (written < 0 || static_cast<std::size_t>(written) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

std::string ProfilePath(const std::string& folder, const std::string& name, std::size_t maxLength)
{
    std::string path = folder + "\\" + name + ".ini";
    if (path.size() > maxLength)
        return std::string();
    return path;
}

}  // namespace gui_logic
