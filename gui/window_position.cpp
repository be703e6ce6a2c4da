#include "window_position.h"

#include "globals.h"
#include "gui/logic/window_rect.h"

#include <cstdio>

void SaveWindowRect(HWND window, const char* section)
{
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return;
    const LONG values[4] = {rect.left, rect.top, rect.right, rect.bottom};
    for (int i = 0; i < 4; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(values[i]));
        ::WritePrivateProfileStringA(section, gui_logic::kRectKeys[i], text, g_windowPosFile);
    }
}

bool RestoreWindowRect(HWND window, const char* section)
{
    gui_logic::SavedRect saved;
    int* fields[4] = {&saved.left, &saved.top, &saved.right, &saved.bottom};
    for (int i = 0; i < 4; ++i)
        *fields[i] =
            static_cast<int>(::GetPrivateProfileIntA(section, gui_logic::kRectKeys[i], 0, g_windowPosFile));
    if (!gui_logic::ShouldRestore(saved))
        return false;
    return ::SetWindowPos(window, nullptr, saved.left, saved.top, gui_logic::RectWidth(saved),
                          gui_logic::RectHeight(saved), SWP_NOZORDER)
           != FALSE;
}
