// Colour arithmetic of the custom controls: the darkened second icon of an icon
// button and the lightened colours of the flat menu look. Colours use the layout of a
// Windows COLORREF (0x00BBGGRR); DIB pixels the layout of a 32-bit DIB (0xAARRGGBB).
#pragma once

#include <cstdint>

namespace gui_logic {

using ColourRef = std::uint32_t;

constexpr ColourRef MakeColour(int red, int green, int blue)
{
    return static_cast<ColourRef>((red & 0xff) | ((green & 0xff) << 8) | ((blue & 0xff) << 16));
}
constexpr int RedOf(ColourRef c) { return static_cast<int>(c & 0xff); }
constexpr int GreenOf(ColourRef c) { return static_cast<int>((c >> 8) & 0xff); }
constexpr int BlueOf(ColourRef c) { return static_cast<int>((c >> 16) & 0xff); }

// Moves each of red, green and blue from c to c + percent% of (255 - c).
// percent is clamped to 0..100.
ColourRef Lightened(ColourRef colour, int percent);

// One channel of the darkened icon: reduced by 25 % (rounded down).
int DarkenedChannel(int value);

// A pixel of a 32-bit DIB in the darkened icon: a pixel whose red, green and blue are
// all 0 stays as it is; any other has each of them reduced by 25 %. Alpha is kept.
std::uint32_t DarkenedDibPixel(std::uint32_t pixel);

}  // namespace gui_logic
