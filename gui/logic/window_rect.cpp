#include "gui/logic/window_rect.h"

namespace gui_logic {

const char* const kRectKeys[4] = {"left", "top", "right", "bottom"};

bool ShouldRestore(const SavedRect& rect) { return rect.left != 0 || rect.top != 0; }

}  // namespace gui_logic
