// Sizes and positions of owner-drawn menu items (both looks).
#pragma once

namespace gui_logic {

struct MenuItemSize {
    int width = 0;
    int height = 0;
};

// The gaps below are given for 16-pixel icons and grow with the icon (which follows the
// display's DPI): gap16 at an icon width of iconWidth.
int MenuGap(int gap16, int iconWidth);

// A separator is 0 wide and half of the menu bar height high; another item is its
// text width plus twice the icon width plus 1 wide, and as high as the larger of the
// menu height and the icon height plus 4.
MenuItemSize MeasureMenuItem(bool separator, int textWidth, int menuHeight, int iconWidth, int iconHeight);

int MenuStripWidth(int iconWidth);                             // icon strip at the left: icon width + 5
int MenuTextLeft(int iconWidth);                               // text starts at icon width + 9
int MenuIconLeft(bool flatLook, int iconWidth = 16);           // 3 in the flat look, 2 in the classic look
int MenuIconTop(int itemTop, int itemHeight, int iconHeight);  // centred vertically
int MenuTextRightMargin(int iconWidth);                        // gap right of a right-aligned text
int MenuSeparatorLeft(int iconWidth);                          // flat look: 4 pixels right of the strip

// The flat look's colours: the strip's base is the button face from Windows 95 and
// NT 4 on (major version 4 and later), the menu colour before.
bool MenuStripUsesButtonFace(unsigned long majorVersion);

}  // namespace gui_logic
