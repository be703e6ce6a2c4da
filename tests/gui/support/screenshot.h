// Pixels of windows and memory DCs, read back for checks, and pictures of windows for
// the test record: BUILD/screenshots/<name>.png.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gt {

// Pixels as 0x00RRGGBB, top row first.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)
                      + static_cast<std::size_t>(x)];
    }
    int Count(std::uint32_t rgb, int left, int top, int right, int bottom) const;
};

std::uint32_t Rgb(COLORREF colour);  // COLORREF -> 0x00RRGGBB
std::uint32_t SysRgb(int index);     // GetSysColor as 0x00RRGGBB

// Repaints the window now and reads its client area back.
Capture CaptureClient(HWND window);
// Reads a memory DC's bitmap back (the bitmap selected into dc).
Capture CaptureDC(HDC dc, int width, int height);

// A memory DC with a 32-bit DIB section of the given size, filled with `fill`.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    HDC Dc() const { return m_dc; }
    Capture Read() const { return CaptureDC(m_dc, m_width, m_height); }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_width;
    int m_height;
};

// The folder the pictures go to (created on first use).
std::string ScreenshotFolder();
// Repaints the window and saves its outer rectangle (frame included, child windows
// too); false when nothing could be saved.
bool SaveWindowScreenshot(HWND window, const std::string& name);
// Repaints the windows and saves the screen area that holds them all (a dialog with
// the tool windows docked beside it).
bool SaveWindowsScreenshot(const std::vector<HWND>& windows, const std::string& name);
// Saves pixels read back before.
bool SaveCapture(const Capture& capture, const std::string& name);

}  // namespace gt
