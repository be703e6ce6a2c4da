// A rectangle in pixels (right and bottom exclusive), as the pure GUI logic passes
// rectangles around without any Windows types.
#pragma once

namespace gui_logic {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

}  // namespace gui_logic
