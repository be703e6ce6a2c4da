// Where an icon button puts its icon and its caption inside the item rectangle.
#pragma once

#include "gui/logic/box.h"

namespace gui_logic {

struct IconButtonLayoutInput {
    Box item;  // the draw request's rectangle
    bool hasIcon = false;
    int iconWidth = 0;
    int iconHeight = 0;
    bool hasCaption = false;
    int margin = 3;      // gap between the left edge and the icon
    bool shift = false;  // pressed push button
    int shiftX = 1;
    int shiftY = 1;
};

struct IconButtonLayout {
    Box icon;     // meaningful when the button has an icon
    Box caption;  // the rectangle the caption is centred in
};

// With a caption the icon sits `margin` from the left edge, centred vertically, and
// the caption's rectangle starts after it; without one the icon is centred. A pressed
// push button moves both by the shift.
IconButtonLayout LayOutIconButton(const IconButtonLayoutInput& in);

// The rectangle of a caption measured as width x height, centred in `area`.
Box CentreText(const Box& area, int width, int height);

}  // namespace gui_logic
