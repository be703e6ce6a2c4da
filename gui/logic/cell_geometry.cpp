#include "gui/logic/cell_geometry.h"

#include <cstddef>

namespace gui_logic {

int ColumnAtX(int x, int rowLeft, const std::vector<int>& widths)
{
    int left = rowLeft;
    for (int column = 0; column < static_cast<int>(widths.size()); ++column) {
        int right = left + widths[static_cast<std::size_t>(column)];
        if (x >= left && x <= right)
            return column;
        left = right;
    }
    return -1;
}

InPlacePlacement PlaceInPlaceList(int rowLeft, int rowTop, int rowBottom, const std::vector<int>& widths,
                                  int column, int clientRight)
{
    InPlacePlacement placement;
    if (column < 0 || column >= static_cast<int>(widths.size()))
        return placement;
    const int width = widths[static_cast<std::size_t>(column)];
    if (width < 10)
        return placement;
    int offset = 0;
    for (int i = 0; i < column; ++i)
        offset += widths[static_cast<std::size_t>(i)];
    if (rowLeft + offset < 0 || rowLeft + offset > clientRight) {
        placement.scroll = true;
        placement.scrollBy = rowLeft + offset;
        rowLeft = -offset;
    }
    placement.editable = true;
    placement.left = rowLeft + offset + 4;
    placement.right = placement.left + width - 3;
    if (placement.right > clientRight)
        placement.right = clientRight;
    placement.top = rowTop;
    placement.bottom = rowBottom + 50 * (rowBottom - rowTop);
    return placement;
}

}  // namespace gui_logic
