#include "gui/logic/window_rect.h"

namespace gui_logic {

const char* const kRectKeys[4] = {"left", "top", "right", "bottom"};

bool ShouldRestore(const SavedRect& rect) { return rect.left != 0 || rect.top != 0; }

SavedRect EnlargedTo(const SavedRect& rect, int minWidth, int minHeight)
{
    SavedRect result = rect;
    if (RectWidth(rect) < minWidth)
        result.right = rect.left + minWidth;
    if (RectHeight(rect) < minHeight)
        result.bottom = rect.top + minHeight;
    return result;
}

bool Overlaps(const SavedRect& a, const SavedRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

namespace {

// The start of a span of the given length moved into [low, high) as far as it fits.
int MovedStart(int start, int length, int low, int high)
{
    if (start + length > high)
        start = high - length;
    return start < low ? low : start;
}

}  // namespace

SavedRect MovedInto(const SavedRect& rect, const SavedRect& area)
{
    const int width = RectWidth(rect);
    const int height = RectHeight(rect);
    SavedRect result;
    result.left = MovedStart(rect.left, width, area.left, area.right);
    result.top = MovedStart(rect.top, height, area.top, area.bottom);
    result.right = result.left + width;
    result.bottom = result.top + height;
    return result;
}

}  // namespace gui_logic
