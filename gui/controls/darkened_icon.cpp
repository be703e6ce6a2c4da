#include "controls/darkened_icon.h"

#include "gui/logic/colour_math.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Deletes the two bitmaps GetIconInfo hands out.
struct IconBitmaps {
    ICONINFO info{};
    ~IconBitmaps()
    {
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        if (info.hbmMask)
            ::DeleteObject(info.hbmMask);
    }
};

BITMAPINFO TopDown32(int width, int height)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

}  // namespace

HICON CreateDarkenedIcon(HICON icon, DWORD* error)
{
    *error = 0;
    IconBitmaps bitmaps;
    if (!::GetIconInfo(icon, &bitmaps.info)) {
        *error = ::GetLastError();
        return nullptr;
    }
    if (!bitmaps.info.hbmColor)
        return nullptr;  // a monochrome icon has nothing to darken
    BITMAP bm{};
    if (!::GetObjectA(bitmaps.info.hbmColor, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
        *error = ::GetLastError();
        return nullptr;
    }

    const int width = bm.bmWidth;
    const int height = bm.bmHeight;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    BITMAPINFO bi = TopDown32(width, height);
    HDC screen = ::GetDC(nullptr);
    if (!screen) {
        *error = ::GetLastError();
        return nullptr;
    }
    int lines = ::GetDIBits(screen, bitmaps.info.hbmColor, 0, static_cast<UINT>(height), pixels.data(), &bi,
                            DIB_RGB_COLORS);
    if (lines != height) {
        *error = ::GetLastError();
        ::ReleaseDC(nullptr, screen);
        return nullptr;
    }
    for (std::uint32_t& pixel : pixels)
        pixel = gui_logic::DarkenedDibPixel(pixel);

    void* bits = nullptr;
    BITMAPINFO out = TopDown32(width, height);
    HBITMAP colour = ::CreateDIBSection(screen, &out, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    if (!colour || !bits) {
        *error = ::GetLastError();
        if (colour)
            ::DeleteObject(colour);
        return nullptr;
    }
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    ::GdiFlush();

    ICONINFO darkened{};
    darkened.fIcon = TRUE;
    darkened.xHotspot = bitmaps.info.xHotspot;
    darkened.yHotspot = bitmaps.info.yHotspot;
    darkened.hbmMask = bitmaps.info.hbmMask;
    darkened.hbmColor = colour;
    HICON result = ::CreateIconIndirect(&darkened);
    if (!result)
        *error = ::GetLastError();
    ::DeleteObject(colour);
    return result;
}
