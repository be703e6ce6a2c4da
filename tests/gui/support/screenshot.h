// Pictures of windows for the test record: BUILD/screenshots/<name>.png.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gt {

// The folder the pictures go to (created on first use).
std::string ScreenshotFolder();
// Repaints the window and saves its outer rectangle; false when nothing could be saved.
bool SaveWindowScreenshot(HWND window, const std::string& name);
// Repaints the windows and saves the screen area that holds them all (a dialog with
// the tool windows docked beside it).
bool SaveWindowsScreenshot(const std::vector<HWND>& windows, const std::string& name);

}  // namespace gt
