#include "support/screenshot.h"

#include "support/png_writer.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace gt {

std::string ScreenshotFolder()
{
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = (length == 0 || length >= sizeof path) ? std::string(".") : std::string(path, length);
    folder = folder.substr(0, folder.find_last_of('\\'));  // BUILD\bin
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

namespace {

// Copies width x height pixels from sourceDc at (x, y) into BUILD/screenshots/<name>.png.
bool SaveDcArea(HDC sourceDc, int x, int y, int width, int height, const std::string& name)
{
    if (width <= 0 || height <= 0)
        return false;
    HDC memoryDc = ::CreateCompatibleDC(sourceDc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(sourceDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memoryDc, bitmap);
        ::BitBlt(memoryDc, 0, 0, width, height, sourceDc, x, y, SRCCOPY);
        ::GdiFlush();
        std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
        const auto* bgra = static_cast<const std::uint8_t*>(bits);
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
            rgb[i * 3] = bgra[i * 4 + 2];
            rgb[i * 3 + 1] = bgra[i * 4 + 1];
            rgb[i * 3 + 2] = bgra[i * 4];
        }
        ::SelectObject(memoryDc, old);
        std::vector<std::uint8_t> png = EncodePng(width, height, rgb);
        std::string safeName = name;
        for (char& c : safeName) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
                c = '_';
        }
        std::string file = ScreenshotFolder() + "\\" + safeName + ".png";
        FILE* out = std::fopen(file.c_str(), "wb");
        if (out) {
            saved = std::fwrite(png.data(), 1, png.size(), out) == png.size();
            std::fclose(out);
        }
    }
    if (bitmap)
        ::DeleteObject(bitmap);
    ::DeleteDC(memoryDc);
    return saved;
}

}  // namespace

bool SaveWindowScreenshot(HWND window, const std::string& name)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return false;
    HDC windowDc = ::GetWindowDC(window);
    // What the window shows now, child windows included.
    bool saved = SaveDcArea(windowDc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, name);
    ::ReleaseDC(window, windowDc);
    return saved;
}

bool SaveWindowsScreenshot(const std::vector<HWND>& windows, const std::string& name)
{
    RECT area = {};
    bool first = true;
    for (HWND window : windows) {
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
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
    bool saved = SaveDcArea(screenDc, area.left, area.top, area.right - area.left, area.bottom - area.top, name);
    ::ReleaseDC(nullptr, screenDc);
    return saved;
}

}  // namespace gt
