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
    size.height = menuHeight > iconHeight + 4 ? menuHeight : iconHeight + 4;
    return size;
}

int MenuStripWidth(int iconWidth) { return iconWidth + 5; }
int MenuTextLeft(int iconWidth) { return iconWidth + 9; }
int MenuIconLeft(bool flatLook) { return flatLook ? 3 : 2; }
int MenuIconTop(int itemTop, int itemHeight, int iconHeight)
{
    return itemTop + (itemHeight - iconHeight) / 2;
}
int MenuTextRightMargin(int iconWidth) { return iconWidth / 2; }
int MenuSeparatorLeft(int iconWidth) { return MenuStripWidth(iconWidth) + 4; }

bool MenuStripUsesButtonFace(unsigned long majorVersion) { return majorVersion >= 4; }

}  // namespace gui_logic
