#include "gui/logic/anchored_layout.h"

namespace gui_logic {

AnchoredLayout RecordLayout(const Box& child, int clientWidth, int clientHeight)
{
    AnchoredLayout layout;
    layout.left = child.left;
    layout.top = child.top;
    layout.rightMargin = clientWidth - child.right;
    layout.bottomMargin = clientHeight - child.bottom;
    return layout;
}

Box PlaceChild(const AnchoredLayout& layout, int clientWidth, int clientHeight)
{
    int width = clientWidth - layout.rightMargin - layout.left;
    int height = clientHeight - layout.bottomMargin - layout.top;
    Box box;
    box.left = layout.left;
    box.top = layout.top;
    box.right = layout.left + (width > 0 ? width : 0);
    box.bottom = layout.top + (height > 0 ? height : 0);
    return box;
}

}  // namespace gui_logic
