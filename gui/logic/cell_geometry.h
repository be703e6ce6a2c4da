// Geometry of the action list: which column of a report-view row a point falls in,
// and where the in-place drop-down goes over a cell.
#pragma once

#include <vector>

namespace gui_logic {

// The column whose span holds x, walking from the row's left edge; each column spans
// from its left edge to its left edge plus its width, both ends included, so a point
// on the border belongs to the left column. -1 when x is in no column.
int ColumnAtX(int x, int rowLeft, const std::vector<int>& widths);

struct InPlacePlacement {
    bool editable = false;  // false: the column does not exist or is narrower than 10 pixels
    bool scroll = false;    // scroll the list horizontally by scrollBy first
    int scrollBy = 0;
    int left = 0, top = 0, right = 0, bottom = 0;  // the combo box in list client coordinates
};

// The in-place list over cell (row rectangle, column) of a list whose client area
// ends at clientRight. A cell whose left edge lies outside the client area is first
// scrolled into view. The rectangle reaches 50 rows below the row so that the
// dropped list has room.
InPlacePlacement PlaceInPlaceList(int rowLeft, int rowTop, int rowBottom, const std::vector<int>& widths,
                                  int column, int clientRight);

}  // namespace gui_logic
