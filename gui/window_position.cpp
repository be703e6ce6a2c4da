#include "window_position.h"

#include "globals.h"
#include "gui/logic/window_rect.h"
#include "runtime/entry_point.h"

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

struct MonitorCalls {
    MonitorFromRectFn fromRect =
        LookUp<MonitorFromRectFn>(::GetModuleHandleA("user32.dll"), "MonitorFromRect");
    GetMonitorInfoFn info = LookUp<GetMonitorInfoFn>(::GetModuleHandleA("user32.dll"), "GetMonitorInfoA");
    bool Complete() const { return fromRect && info; }
};

SavedRect PrimaryScreen() { return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

// The work area of the monitor nearest to the rectangle; the primary screen where the
// system knows no monitors.
SavedRect NearestWorkArea(const MonitorCalls& calls, const RECT& rect)
{
    if (calls.Complete()) {
        MonitorInfo info = {};
        info.size = sizeof info;
        HANDLE nearest = calls.fromRect(&rect, kMonitorDefaultToNearest);
        if (nearest && calls.info(nearest, &info))
            return FromRect(info.work);
    }
    return PrimaryScreen();
}

// The rectangle moved onto the monitor nearest to it when it lies on none. Where the
// system knows no monitors the whole primary screen stands in.
SavedRect OntoAMonitor(const SavedRect& saved)
{
    const MonitorCalls calls;
    const RECT rect = {saved.left, saved.top, saved.right, saved.bottom};
    if (calls.Complete()) {
        if (calls.fromRect(&rect, kMonitorDefaultToNull))
            return saved;
        return gui_logic::MovedInto(saved, NearestWorkArea(calls, rect));
    }
    const SavedRect screen = PrimaryScreen();
    if (gui_logic::RectWidth(screen) <= 0 || gui_logic::Overlaps(saved, screen))
        return saved;
    return gui_logic::MovedInto(saved, screen);
}

// The rectangle the window has when neither minimised nor maximised, in screen
// coordinates. A minimised window sits at -32000 (or, under some shells, is a small icon)
// and a maximised one covers the screen: for those the placement's normal rectangle
// counts, which is in workspace coordinates, relative to the primary work area.
bool NormalWindowRect(HWND window, RECT* rect)
{
    if (!::IsIconic(window) && !::IsZoomed(window))
        return ::GetWindowRect(window, rect) != FALSE;
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(window, &placement))
        return false;
    *rect = placement.rcNormalPosition;
    RECT work;
    if ((::GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0
        && ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        ::OffsetRect(rect, work.left, work.top);
    return true;
}

}  // namespace

void SaveWindowRect(HWND window, const char* section)
{
    RECT rect;
    if (!NormalWindowRect(window, &rect))
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

int MakeRoomToTheRight(HWND window, int width)
{
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return width;
    const SavedRect area = NearestWorkArea(MonitorCalls(), rect);
    int excess = rect.right + width - area.right;
    if (excess > rect.left - area.left)
        excess = rect.left - area.left;  // never past the left edge
    if (excess > 0
        && ::SetWindowPos(window, nullptr, rect.left - excess, rect.top, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        rect.right -= excess;
    return area.right - rect.right;
}
