// What an icon button draws for one paint request: the decisions of the painting
// rules, taken from the button's state and the draw request's flags. No drawing here.
#pragma once

namespace gui_logic {

struct IconButtonState {
    bool flat = true;        // no border except under the mouse or when pressed
    bool border = true;      // flat look: thin border under the mouse
    bool flatFocus = false;  // flat look: focus rectangle as well
    bool mouseOver = false;  // hover tracking is active
    bool checkBox = false;   // created as a check box
    int tick = 0;            // check state of a check box (0 or 1)
    bool isDefault = false;  // created as (or made) the default push button
    bool selected = false;   // ODS_SELECTED
    bool focused = false;    // ODS_FOCUS
    bool disabled = false;   // ODS_DISABLED
    bool hasSecondIcon = false;
};

enum class ButtonBorder {
    None,
    ThinRaised,   // highlight top-left, shadow bottom-right
    ThinSunken,   // shadow top-left, highlight bottom-right
    ShadowFrame,  // one-pixel frame in the shadow colour
    FullRaised,   // outer highlight + inner 3D light / outer dark shadow + inner shadow
};

enum class ColourPair { Hot, Normal, Focused };  // Hot: under the mouse or pressed

struct IconButtonLook {
    bool pressed = false;
    bool blackFrame = false;  // one-pixel black frame, the rest inside it
    ButtonBorder border = ButtonBorder::None;
    bool secondIcon = false;  // draw the second (darkened) icon instead of the first
    ColourPair colours = ColourPair::Normal;
    bool shiftContent = false;     // a pressed push button moves icon and caption
    bool embossedCaption = false;  // disabled caption
    bool focusRect = false;
};

IconButtonLook DecideIconButtonLook(const IconButtonState& state);

// BM_SETCHECK: 1 and 2 tick a check-box button, every other value unticks it.
int TickFromSetCheck(unsigned long long wparam);

}  // namespace gui_logic
