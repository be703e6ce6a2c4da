#include "gui/logic/anchored_layout.h"

namespace gui_logic {

namespace {

// One axis: near edge, far edge, given whether each follows the client's far edge.
void PlaceAxis(int nearEdge, int size, int farMargin, int clientSize, bool nearFollows, bool farFollows,
               int* outNear, int* outFar)
{
    int farEdge = farFollows ? clientSize - farMargin : nearEdge + size;
    int nearPlace = nearEdge;
    if (nearFollows)
        nearPlace = farFollows ? farEdge - size : clientSize - farMargin - size;
    if (farEdge < nearPlace)
        farEdge = nearPlace;
    *outNear = nearPlace;
    *outFar = farEdge;
}

}  // namespace

AnchoredLayout RecordLayout(const Box& child, int clientWidth, int clientHeight, unsigned anchors)
{
    AnchoredLayout layout;
    layout.left = child.left;
    layout.top = child.top;
    layout.rightMargin = clientWidth - child.right;
    layout.bottomMargin = clientHeight - child.bottom;
    layout.width = child.right - child.left;
    layout.height = child.bottom - child.top;
    layout.anchors = anchors;
    return layout;
}

Box PlaceChild(const AnchoredLayout& layout, int clientWidth, int clientHeight)
{
    Box box;
    PlaceAxis(layout.left, layout.width, layout.rightMargin, clientWidth,
              (layout.anchors & kLeftFollows) != 0, (layout.anchors & kRightFollows) != 0, &box.left,
              &box.right);
    PlaceAxis(layout.top, layout.height, layout.bottomMargin, clientHeight,
              (layout.anchors & kTopFollows) != 0, (layout.anchors & kBottomFollows) != 0, &box.top,
              &box.bottom);
    return box;
}

}  // namespace gui_logic
