#include "gui/logic/colour_math.h"

namespace gui_logic {

ColourRef Lightened(ColourRef colour, int percent)
{
    if (percent < 0)
        percent = 0;
    if (percent > 100)
        percent = 100;
    auto lighten = [percent](int c) { return c + (255 - c) * percent / 100; };
    return MakeColour(lighten(RedOf(colour)), lighten(GreenOf(colour)), lighten(BlueOf(colour)));
}

int DarkenedChannel(int value) { return value * 3 / 4; }

std::uint32_t DarkenedDibPixel(std::uint32_t pixel)
{
    if ((pixel & 0x00ffffffu) == 0)
        return pixel;
    std::uint32_t alpha = pixel & 0xff000000u;
    std::uint32_t red = static_cast<std::uint32_t>(DarkenedChannel(static_cast<int>((pixel >> 16) & 0xff)));
    std::uint32_t green = static_cast<std::uint32_t>(DarkenedChannel(static_cast<int>((pixel >> 8) & 0xff)));
    std::uint32_t blue = static_cast<std::uint32_t>(DarkenedChannel(static_cast<int>(pixel & 0xff)));
    return alpha | (red << 16) | (green << 8) | blue;
}

}  // namespace gui_logic
