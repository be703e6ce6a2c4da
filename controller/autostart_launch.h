// Starting the main application and the auto-start programs: one way for both.
#pragma once

#include <windows.h>

#include "controller/user_rights_start.h"

// Starts path with its arguments, detached, in the folder of the path (the controller's
// own folder when the path has none). The path is quoted on the command line so that
// blanks in it cannot make Windows start another program. On failure returns false with
// the reason in GetLastError(); on success the caller owns both handles in process. An
// elevated run starts it with the user's ordinary rights (see StartWithUserRights).
bool LaunchProgram(const char* path, const char* arguments, PROCESS_INFORMATION& process,
                   StartRights rights = StartRights::MayFallBack);
