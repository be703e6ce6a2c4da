#include "controls/draw_helpers.h"

void FillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

void FrameSolid(HDC dc, const RECT& r, COLORREF colour) { Draw3dRect(dc, r, colour, colour); }
