// The GUI's message boxes: captioned "Zephlaunch" (gui_strings.h) unless another
// caption is given, and owned by owner, or without one by the window a modal dialog
// would be owned by (the main window's last active pop-up), so they are never
// ownerless while a window of the GUI is open.
#pragma once

#include "gui_strings.h"

#include <windows.h>

int ShowMessageBox(HWND owner, const char* text, UINT type, const char* caption = kAppCaption);
