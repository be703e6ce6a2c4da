#include "framework/dpi.h"

#include <cstdlib>
#include <vector>

namespace {

// The directory of an icon group resource (RT_GROUP_ICON): a header, then one entry
// per image. A width of 0 stands for 256.
#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colours;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The widths of the images of icon resource id, in resource order.
std::vector<int> IconSizes(HINSTANCE instance, UINT id)
{
    std::vector<int> sizes;
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    const DWORD size = found ? ::SizeofResource(instance, found) : 0;
    if (!data || size < sizeof(GroupIconHeader))
        return sizes;
    const auto* header = reinterpret_cast<const GroupIconHeader*>(data);
    const DWORD count = header->count;
    if (size < sizeof(GroupIconHeader) + count * sizeof(GroupIconEntry))
        return sizes;
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(data + sizeof(GroupIconHeader));
    for (DWORD i = 0; i < count; ++i)
        sizes.push_back(entries[i].width ? entries[i].width : 256);
    return sizes;
}

}  // namespace

int SystemDpi()
{
    static int dpi = 0;
    if (dpi == 0) {
        HDC screen = ::GetDC(nullptr);
        const int read = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        dpi = read > 0 ? read : 96;
    }
    return dpi;
}

int ScaledPixels(int pixels96) { return (pixels96 * SystemDpi() + 48) / 96; }

int NearestIconSize(HINSTANCE instance, UINT id, int wanted)
{
    int best = 0;
    for (int size : IconSizes(instance, id)) {
        const int distance = std::abs(size - wanted);
        const int bestDistance = std::abs(best - wanted);
        if (best == 0 || distance < bestDistance || (distance == bestDistance && size > best))
            best = size;
    }
    return best ? best : wanted;
}

int NaturalIconSize(HINSTANCE instance, UINT id)
{
    std::vector<int> sizes = IconSizes(instance, id);
    return sizes.empty() ? 0 : sizes.front();
}
