#include "gui/logic/icon_button_look.h"

namespace gui_logic {

IconButtonLook DecideIconButtonLook(const IconButtonState& state)
{
    IconButtonLook look;
    look.pressed = state.checkBox ? (state.selected || state.tick != 0) : state.selected;
    look.blackFrame = !state.flat && (state.focused || state.isDefault);

    if (state.mouseOver || look.pressed)
        look.colours = ColourPair::Hot;
    else if (state.focused)
        look.colours = ColourPair::Focused;
    else
        look.colours = ColourPair::Normal;

    if (look.pressed) {
        if (state.flat)
            look.border = state.border ? ButtonBorder::ThinSunken : ButtonBorder::None;
        else
            look.border = ButtonBorder::ShadowFrame;
    } else if (!state.flat) {
        look.border = ButtonBorder::FullRaised;
    } else {
        look.border = (state.mouseOver && state.border) ? ButtonBorder::ThinRaised : ButtonBorder::None;
    }

    bool hotPush = !state.checkBox && state.mouseOver;
    look.secondIcon = state.hasSecondIcon && !look.pressed && !hotPush;
    look.shiftContent = look.pressed && !state.checkBox;
    look.embossedCaption = state.disabled;
    look.focusRect = state.focused && (!state.flat || state.flatFocus);
    return look;
}

int TickFromSetCheck(unsigned long long wparam) { return (wparam == 1 || wparam == 2) ? 1 : 0; }

}  // namespace gui_logic
