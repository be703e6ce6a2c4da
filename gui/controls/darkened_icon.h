// The darkened copy of an icon that an icon button shows while it is not under the
// mouse: every non-black pixel has its red, green and blue reduced by 25 %.
#pragma once

#include <windows.h>

// A new icon (the caller destroys it), or null when the icon has no colour bitmap or a
// Windows call failed; *error then holds the GetLastError code (0 when there is none).
HICON CreateDarkenedIcon(HICON icon, DWORD* error);
