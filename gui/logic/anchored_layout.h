// Keeps child windows in place while their parent's client area is resized. Each edge
// of a child either keeps its place (left and top edges measured from the client
// area's left and top, right and bottom edges from the child's own left and top, so
// the size stays) or keeps its distance to the client area's right or bottom edge.
//
//   kStretchRight        left, top, height stay; right edge follows the client's right
//   kStretchRightBottom  left, top stay; right and bottom edges follow (the default)
//   kMoveRight           top, width, height stay; right edge follows (moves sideways)
//   kMoveDown            left, width, height stay; bottom edge follows (moves down)
//   kMoveRightDown       width, height stay; right and bottom edges follow (corner)
//
// Any combination of the four edge flags is allowed: kLeftFollows with kRightFollows
// moves a control sideways, kLeftFollows alone shrinks it from the left, and so on.
// Width and height never go below 0.
#pragma once

#include "gui/logic/box.h"

namespace gui_logic {

enum AnchorEdges : unsigned {
    kLeftFollows = 1u,    // left edge keeps its distance to the client's right edge
    kTopFollows = 2u,     // top edge keeps its distance to the client's bottom edge
    kRightFollows = 4u,   // right edge keeps its distance to the client's right edge
    kBottomFollows = 8u,  // bottom edge keeps its distance to the client's bottom edge

    kStretchRight = kRightFollows,
    kStretchRightBottom = kRightFollows | kBottomFollows,
    kMoveRight = kLeftFollows | kRightFollows,
    kMoveDown = kTopFollows | kBottomFollows,
    kMoveRightDown = kLeftFollows | kTopFollows | kRightFollows | kBottomFollows,
};

struct AnchoredLayout {
    int left = 0;
    int top = 0;
    int rightMargin = 0;   // client width - child right
    int bottomMargin = 0;  // client height - child bottom
    int width = 0;         // the child's recorded size
    int height = 0;
    unsigned anchors = kStretchRightBottom;
};

// Records the child's place (in client coordinates) within a client area of the given
// size, with the edges that follow the client's right and bottom edges.
AnchoredLayout RecordLayout(const Box& child, int clientWidth, int clientHeight,
                            unsigned anchors = kStretchRightBottom);

// The child's place for a new client size.
Box PlaceChild(const AnchoredLayout& layout, int clientWidth, int clientHeight);

}  // namespace gui_logic
