// The few window-manager calls the controller makes. USER32.DLL is loaded on first use
// rather than at start-up: its initialisation costs more than a run with nothing to stop
// needs, and most runs reach it only when there are programs to close.
#pragma once

#include <windows.h>

namespace window_calls {

// Each returns what the Windows call returns; when USER32.DLL or the entry point is
// missing, FALSE (or 0) with the error set by LoadLibrary or GetProcAddress.
BOOL EnumDesktopWindows(HDESK desktop, WNDENUMPROC callback, LPARAM parameter);
BOOL EnumWindows(WNDENUMPROC callback, LPARAM parameter);  // Windows 9x/ME: no EnumDesktopWindows
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL ExitWindowsEx(UINT flags, DWORD reason);
// The hidden window that hears of the session's end (console_close.cpp).
ATOM RegisterClassA(const WNDCLASSA* windowClass);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);  // -1 on failure, as Windows
LRESULT DispatchMessageA(const MSG* message);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace window_calls
