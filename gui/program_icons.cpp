#include "program_icons.h"

#include "framework/win_app.h"

#include <shellapi.h>

namespace {

// ExtractIcon answers 1 for a file that is not a program, an icon or a library.
bool IsIcon(HICON icon) { return reinterpret_cast<UINT_PTR>(icon) > 1; }

// Appends the icons to the image list, in order, as one strip of images: adding icons
// one by one costs many drawing calls per icon, the strip a few in all. The strip is
// painted on the list's white background without alpha, so the mask decides what is
// transparent. False when the strip could not be made; nothing was appended then.
bool AppendIconStrip(HIMAGELIST list, const std::vector<HICON>& icons)
{
    const int count = static_cast<int>(icons.size());
    int cx = 0;
    int cy = 0;
    if (count == 0 || !ImageList_GetIconSize(list, &cx, &cy) || cx <= 0 || cy <= 0)
        return count == 0;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = cx * count;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP mask = ::CreateBitmap(cx * count, cy, 1, 1, nullptr);
    HDC colourDc = ::CreateCompatibleDC(nullptr);
    HDC maskDc = ::CreateCompatibleDC(nullptr);
    bool made = colour && bits && mask && colourDc && maskDc;
    if (made) {
        DWORD* pixels = static_cast<DWORD*>(bits);
        const size_t total = static_cast<size_t>(cx) * static_cast<size_t>(count) * static_cast<size_t>(cy);
        for (size_t i = 0; i < total; ++i)
            pixels[i] = 0x00FFFFFF;
        HGDIOBJ oldColour = ::SelectObject(colourDc, colour);
        HGDIOBJ oldMask = ::SelectObject(maskDc, mask);
        made = oldColour && oldMask;
        for (int i = 0; made && i < count; ++i) {
            made = ::DrawIconEx(colourDc, i * cx, 0, icons[i], cx, cy, 0, nullptr, DI_NORMAL)
                   && ::DrawIconEx(maskDc, i * cx, 0, icons[i], cx, cy, 0, nullptr, DI_MASK);
        }
        if (oldColour)
            ::SelectObject(colourDc, oldColour);
        if (oldMask)
            ::SelectObject(maskDc, oldMask);
        made = made && ::GdiFlush() && ImageList_Add(list, colour, mask) != -1;
    }
    if (maskDc)
        ::DeleteDC(maskDc);
    if (colourDc)
        ::DeleteDC(colourDc);
    if (mask)
        ::DeleteObject(mask);
    if (colour)
        ::DeleteObject(colour);
    return made;
}

}  // namespace

// The program's first icon, or its associated icon; null when it yields none.
HICON ExtractProgramIcon(const std::string& program)
{
    HINSTANCE instance = AfxGetResourceHandle();
    HICON icon = ::ExtractIconA(instance, program.c_str(), 0);
    if (!IsIcon(icon)) {
        char path[MAX_PATH] = {};
        lstrcpynA(path, program.c_str(), MAX_PATH);
        WORD index = 0;
        icon = ::ExtractAssociatedIconA(instance, path, &index);
    }
    return IsIcon(icon) ? icon : nullptr;
}

std::vector<int> AddProgramIcons(HIMAGELIST list, const std::vector<std::string>& programs)
{
    std::vector<int> images(programs.size(), 0);
    std::vector<HICON> icons;
    std::vector<size_t> owners;
    for (size_t i = 0; i < programs.size(); ++i) {
        HICON icon = ExtractProgramIcon(programs[i]);
        if (!icon)
            continue;
        icons.push_back(icon);
        owners.push_back(i);
    }
    const int first = list ? ImageList_GetImageCount(list) : 0;
    const bool appended = list && AppendIconStrip(list, icons);
    for (size_t i = 0; i < icons.size(); ++i) {
        int image = 0;
        if (appended)
            image = first + static_cast<int>(i);
        else if (list)
            image = ImageList_AddIcon(list, icons[i]);
        images[owners[i]] = image > 0 ? image : 0;
        ::DestroyIcon(icons[i]);
    }
    return images;
}
