#include "controller/autostart_launch.h"

#include <cstring>

#include "controller/logic/command_line.h"
#include "controller/user_rights_start.h"
#include "profile/path_parts.h"
#include "profile/profile_keys.h"

bool LaunchProgram(const char* path, const char* arguments, PROCESS_INFORMATION& process, StartRights rights)
{
    std::memset(&process, 0, sizeof process);

    // A profile path and its arguments are at most 255 characters each.
    char commandLine[2 * profile::kValueBufferSize + 8];
    if (!BuildLaunchCommandLine(commandLine, sizeof commandLine, path, arguments)) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return false;
    }
    char folder[profile::kValueBufferSize];
    std::memset(folder, 0, sizeof folder);
    ProgramFolder(path, folder, sizeof folder);

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;

    return StartWithUserRights(commandLine, CREATE_DEFAULT_ERROR_MODE | DETACHED_PROCESS,
                               folder[0] != '\0' ? folder : nullptr, startup, process, rights);
}
