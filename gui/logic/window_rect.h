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

// The key names in the order they are written.
extern const char* const kRectKeys[4];

}  // namespace gui_logic
