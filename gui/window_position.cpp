#include "window_position.h"

#include "globals.h"
#include "gui/logic/window_rect.h"

#include <cstdio>

namespace {

using gui_logic::SavedRect;

SavedRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

// The monitor functions of Windows 98 and 2000, declared here since the build targets
// older headers: looked up at run time.
struct MonitorInfo {
    DWORD size;
    RECT monitor;
    RECT work;
    DWORD flags;
};
const DWORD kMonitorDefaultToNull = 0;
const DWORD kMonitorDefaultToNearest = 2;
using MonitorFromRectFn = HANDLE(WINAPI*)(const RECT*, DWORD);
using GetMonitorInfoFn = BOOL(WINAPI*)(HANDLE, MonitorInfo*);

// The rectangle moved onto the monitor nearest to it when it lies on none. Where the
// system knows no monitors the whole primary screen stands in.
SavedRect OntoAMonitor(const SavedRect& saved)
{
    HMODULE user = ::GetModuleHandleA("user32.dll");
    auto monitorFromRect = user ? reinterpret_cast<MonitorFromRectFn>(
                               reinterpret_cast<void*>(::GetProcAddress(user, "MonitorFromRect")))
                                : nullptr;
    auto getMonitorInfo = user ? reinterpret_cast<GetMonitorInfoFn>(
                              reinterpret_cast<void*>(::GetProcAddress(user, "GetMonitorInfoA")))
                               : nullptr;
    const RECT rect = {saved.left, saved.top, saved.right, saved.bottom};
    if (monitorFromRect && getMonitorInfo) {
        if (monitorFromRect(&rect, kMonitorDefaultToNull))
            return saved;
        MonitorInfo info = {};
        info.size = sizeof info;
        HANDLE nearest = monitorFromRect(&rect, kMonitorDefaultToNearest);
        if (nearest && getMonitorInfo(nearest, &info))
            return gui_logic::MovedInto(saved, FromRect(info.work));
    }
    const SavedRect screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (gui_logic::RectWidth(screen) <= 0 || gui_logic::Overlaps(saved, screen))
        return saved;
    return gui_logic::MovedInto(saved, screen);
}

}  // namespace

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
    // The window still has its template's size: the least its layout needs.
    RECT least;
    if (!::GetWindowRect(window, &least))
        return false;
    saved = OntoAMonitor(gui_logic::EnlargedTo(saved, least.right - least.left, least.bottom - least.top));
    return ::SetWindowPos(window, nullptr, saved.left, saved.top, gui_logic::RectWidth(saved),
                          gui_logic::RectHeight(saved), SWP_NOZORDER)
           != FALSE;
}
