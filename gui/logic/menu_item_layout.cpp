#include "gui/logic/menu_item_layout.h"

namespace gui_logic {

MenuItemSize MeasureMenuItem(bool separator, int textWidth, int menuHeight, int iconWidth, int iconHeight)
{
    MenuItemSize size;
    if (separator) {
        size.width = 0;
        size.height = menuHeight / 2;
        return size;
    }
    size.width = textWidth + 2 * iconWidth + 1;
    const int iconItemHeight = iconHeight + MenuGap(4, iconWidth);
    size.height = menuHeight > iconItemHeight ? menuHeight : iconItemHeight;
    return size;
}

int MenuGap(int gap16, int iconWidth) { return gap16 * iconWidth / 16; }
int MenuStripWidth(int iconWidth) { return iconWidth + MenuGap(5, iconWidth); }
int MenuTextLeft(int iconWidth) { return iconWidth + MenuGap(9, iconWidth); }
int MenuIconLeft(bool flatLook, int iconWidth) { return MenuGap(flatLook ? 3 : 2, iconWidth); }
int MenuIconTop(int itemTop, int itemHeight, int iconHeight)
{
    return itemTop + (itemHeight - iconHeight) / 2;
}
int MenuTextRightMargin(int iconWidth) { return iconWidth / 2; }
int MenuSeparatorLeft(int iconWidth) { return MenuStripWidth(iconWidth) + MenuGap(4, iconWidth); }

bool MenuStripUsesButtonFace(unsigned long majorVersion) { return majorVersion >= 4; }

}  // namespace gui_logic
