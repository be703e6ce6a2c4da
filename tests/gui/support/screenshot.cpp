#include "support/screenshot.h"

#include "support/png_writer.h"

#include <cctype>

namespace gt {

namespace {

// Copies a rectangle of source into a 32-bit DIB and reads it back.
Capture BlitToCapture(HDC source, int x, int y, int width, int height)
{
    Capture capture;
    if (!source || width <= 0 || height <= 0)
        return capture;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP dib = ::CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && dib && bits) {
        HGDIOBJ old = ::SelectObject(memory, dib);
        if (::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY)) {
            ::GdiFlush();
            capture.width = width;
            capture.height = height;
            const auto* p = static_cast<const std::uint32_t*>(bits);
            capture.pixels.assign(p, p + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            for (std::uint32_t& pixel : capture.pixels)
                pixel &= 0x00ffffffu;
        }
        ::SelectObject(memory, old);
    }
    if (dib)
        ::DeleteObject(dib);
    if (memory)
        ::DeleteDC(memory);
    return capture;
}

}  // namespace

int Capture::Count(std::uint32_t rgb, int left, int top, int right, int bottom) const
{
    int n = 0;
    for (int y = top; y < bottom && y < height; ++y) {
        for (int x = left; x < right && x < width; ++x) {
            if (At(x, y) == rgb)
                ++n;
        }
    }
    return n;
}

std::uint32_t Rgb(COLORREF colour)
{
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16)
           | (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

std::uint32_t SysRgb(int index) { return Rgb(::GetSysColor(index)); }

Capture CaptureClient(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client{};
    if (!::GetClientRect(window, &client))
        return Capture();
    HDC dc = ::GetDC(window);
    if (!dc)
        return Capture();
    Capture capture = BlitToCapture(dc, 0, 0, client.right, client.bottom);
    ::ReleaseDC(window, dc);
    return capture;
}

Capture CaptureDC(HDC dc, int width, int height) { return BlitToCapture(dc, 0, 0, width, height); }

MemoryCanvas::MemoryCanvas(int width, int height, COLORREF fill) : m_width(width), m_height(height)
{
    HDC screen = ::GetDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = ::CreateCompatibleDC(screen);
    m_bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    if (m_dc && m_bitmap) {
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all{0, 0, width, height};
        COLORREF old = ::SetBkColor(m_dc, fill);
        ::ExtTextOutA(m_dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        ::SetBkColor(m_dc, old);
    }
}

MemoryCanvas::~MemoryCanvas()
{
    if (m_old)
        ::SelectObject(m_dc, m_old);
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    if (m_dc)
        ::DeleteDC(m_dc);
}

std::string ScreenshotFolder()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder =
        (length == 0 || length >= sizeof path) ? std::string(".") : std::string(path, length);
    folder = folder.substr(0, folder.find_last_of('\\'));  // BUILD\bin
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool SaveCapture(const Capture& capture, const std::string& name)
{
    std::string safeName = name;
    for (char& c : safeName) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            c = '_';
    }
    return png::WriteFile(ScreenshotFolder() + "\\" + safeName + ".png", capture.width, capture.height,
                          capture.pixels);
}

bool SaveWindowScreenshot(HWND window, const std::string& name)
{
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return false;
    // What the window shows now, child windows included.
    HDC windowDc = ::GetWindowDC(window);
    if (!windowDc)
        return false;
    Capture capture = BlitToCapture(windowDc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
    ::ReleaseDC(window, windowDc);
    return capture.width > 0 && SaveCapture(capture, name);
}

bool SaveWindowsScreenshot(const std::vector<HWND>& windows, const std::string& name)
{
    RECT area = {};
    bool first = true;
    for (HWND window : windows) {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT rect;
        if (!::GetWindowRect(window, &rect))
            return false;
        if (first)
            area = rect;
        else
            ::UnionRect(&area, &area, &rect);
        first = false;
    }
    HDC screenDc = ::GetDC(nullptr);
    if (!screenDc)
        return false;
    Capture capture =
        BlitToCapture(screenDc, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ::ReleaseDC(nullptr, screenDc);
    return capture.width > 0 && SaveCapture(capture, name);
}

}  // namespace gt
