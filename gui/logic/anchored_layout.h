// Keeps a child window at fixed distances from the left/top and right/bottom edges of
// its parent's client area while the parent is resized.
#pragma once

namespace gui_logic {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct AnchoredLayout {
    int left = 0;
    int top = 0;
    int rightMargin = 0;   // client width - child right
    int bottomMargin = 0;  // client height - child bottom
};

// Records the child's place (in client coordinates) within a client area of the given size.
AnchoredLayout RecordLayout(const Box& child, int clientWidth, int clientHeight);

// The child's place for a new client size; width and height never go below 0.
Box PlaceChild(const AnchoredLayout& layout, int clientWidth, int clientHeight);

}  // namespace gui_logic
