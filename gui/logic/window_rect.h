// The remembered outer rectangle of a window (one section of the window-position file).
#pragma once

#include <string>

namespace gui_logic {

struct SavedRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A saved rectangle is applied only when its left or top is non-zero; a window that
// was never saved (all keys missing, read as 0) keeps its template position.
bool ShouldRestore(const SavedRect& rect);
inline int RectWidth(const SavedRect& rect) { return rect.right - rect.left; }
inline int RectHeight(const SavedRect& rect) { return rect.bottom - rect.top; }

// A rectangle at least minWidth x minHeight: one saved at a smaller display scaling (or
// edited by hand) grows to the window's least size, keeping its left and top.
SavedRect EnlargedTo(const SavedRect& rect, int minWidth, int minHeight);
// Whether the two rectangles share at least one pixel.
bool Overlaps(const SavedRect& a, const SavedRect& b);
// The rectangle moved (not resized) into area as far as it fits; one larger than area
// starts at area's left or top.
SavedRect MovedInto(const SavedRect& rect, const SavedRect& area);

// The key names in the order they are written.
extern const char* const kRectKeys[4];

}  // namespace gui_logic
