// Solid fills and one-pixel frames for the owner-drawn controls (icon button, menu).
#pragma once

#include <windows.h>

// Fills the rectangle with one colour (ExtTextOut with ETO_OPAQUE: no brush to make).
void FillSolid(HDC dc, const RECT& r, COLORREF colour);
// A one-pixel frame: top and left edge in one colour, bottom and right edge in the other.
void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight);
// A one-pixel frame in one colour.
void FrameSolid(HDC dc, const RECT& r, COLORREF colour);
