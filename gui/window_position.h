// Remembered window rectangles: one section of the window-position file per window.
#pragma once

#include <windows.h>

// Writes the window's outer rectangle as left, top, right, bottom ("%d") to section.
void SaveWindowRect(HWND window, const char* section);
// Applies the saved rectangle when its left or top is non-zero; otherwise the window
// keeps its place. Call it while the window has its template's size: a smaller saved
// rectangle (saved at a smaller display scaling, or edited by hand) is enlarged to that
// size, and one that lies on no monitor is moved onto the nearest. Returns whether it
// was applied.
bool RestoreWindowRect(HWND window, const char* section);
// Moves the window left, as far as its monitor's work area allows, until a window of the
// given width docked to its right edge fits on that monitor too. Returns the room then
// left between the window and the work area's right edge.
int MakeRoomToTheRight(HWND window, int width);
