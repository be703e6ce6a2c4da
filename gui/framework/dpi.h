// The display's scaling. The program declares itself aware of the system DPI (its
// manifest), so Windows does not stretch its windows: sizes that are fixed in pixels
// (list columns, icons, image lists, owner-drawn metrics) are given for 96 DPI and
// scaled here; dialog templates scale by themselves through their font.
#pragma once

#include <windows.h>

// LOGPIXELSY of the screen, read once; 96 when it cannot be read.
int SystemDpi();
// pixels96 at the system DPI (rounded).
int ScaledPixels(int pixels96);
// The size (width) of the image of icon resource id whose size is nearest to wanted,
// the larger of two equally near; wanted when the resource cannot be read.
int NearestIconSize(HINSTANCE instance, UINT id, int wanted);
// The size of the first image of icon resource id (the size it is drawn at when no
// size is asked for); 0 when the resource cannot be read.
int NaturalIconSize(HINSTANCE instance, UINT id);
