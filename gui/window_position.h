// Remembered window rectangles: one section of the window-position file per window.
#pragma once

#include <windows.h>

// Writes the window's outer rectangle as left, top, right, bottom ("%d") to section.
void SaveWindowRect(HWND window, const char* section);
// Applies the saved rectangle when its left or top is non-zero; otherwise the window
// keeps its place. Returns whether it was applied.
bool RestoreWindowRect(HWND window, const char* section);
