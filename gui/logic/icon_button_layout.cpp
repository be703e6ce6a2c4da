#include "gui/logic/icon_button_layout.h"

namespace gui_logic {

namespace {

Box Offset(Box box, int dx, int dy)
{
    box.left += dx;
    box.right += dx;
    box.top += dy;
    box.bottom += dy;
    return box;
}

}  // namespace

IconButtonLayout LayOutIconButton(const IconButtonLayoutInput& in)
{
    IconButtonLayout out;
    out.caption = in.item;
    if (in.hasIcon) {
        int top = in.item.top + (in.item.Height() - in.iconHeight) / 2;
        int left =
            in.hasCaption ? in.item.left + in.margin : in.item.left + (in.item.Width() - in.iconWidth) / 2;
        out.icon = Box{left, top, left + in.iconWidth, top + in.iconHeight};
        if (in.hasCaption)
            out.caption.left += in.iconWidth + in.margin;
    }
    if (in.shift) {
        out.icon = Offset(out.icon, in.shiftX, in.shiftY);
        out.caption = Offset(out.caption, in.shiftX, in.shiftY);
    }
    return out;
}

Box CentreText(const Box& area, int width, int height)
{
    int left = area.left + (area.Width() - width) / 2;
    int top = area.top + (area.Height() - height) / 2;
    return Box{left, top, left + width, top + height};
}

}  // namespace gui_logic
