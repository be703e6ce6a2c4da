#include "controller/window_calls.h"

#include <atomic>

namespace window_calls {

namespace {

// Looks an entry point of USER32.DLL up once; later calls take the cached address.
// The library is never freed: it stays loaded for the rest of the run, as it would
// have been when linked at start-up.
FARPROC Lookup(std::atomic<FARPROC>& cache, const char* name)
{
    FARPROC address = cache.load(std::memory_order_acquire);
    if (address != nullptr)
        return address;
    HMODULE user32 = LoadLibraryA("user32.dll");
    if (user32 == nullptr)
        return nullptr;
    address = GetProcAddress(user32, name);
    if (address != nullptr)
        cache.store(address, std::memory_order_release);
    return address;
}

template <typename Function>
Function Resolve(std::atomic<FARPROC>& cache, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(Lookup(cache, name)));
}

std::atomic<FARPROC> g_enumDesktopWindows{nullptr};
std::atomic<FARPROC> g_enumWindows{nullptr};
std::atomic<FARPROC> g_getWindowThreadProcessId{nullptr};
std::atomic<FARPROC> g_postMessage{nullptr};
std::atomic<FARPROC> g_exitWindowsEx{nullptr};
std::atomic<FARPROC> g_registerClass{nullptr};
std::atomic<FARPROC> g_createWindowEx{nullptr};
std::atomic<FARPROC> g_getMessage{nullptr};
std::atomic<FARPROC> g_dispatchMessage{nullptr};
std::atomic<FARPROC> g_defWindowProc{nullptr};

}  // namespace

BOOL EnumDesktopWindows(HDESK desktop, WNDENUMPROC callback, LPARAM parameter)
{
    using Fn = BOOL(WINAPI*)(HDESK, WNDENUMPROC, LPARAM);
    Fn call = Resolve<Fn>(g_enumDesktopWindows, "EnumDesktopWindows");
    return call ? call(desktop, callback, parameter) : FALSE;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM parameter)
{
    using Fn = BOOL(WINAPI*)(WNDENUMPROC, LPARAM);
    Fn call = Resolve<Fn>(g_enumWindows, "EnumWindows");
    return call ? call(callback, parameter) : FALSE;
}

DWORD GetWindowThreadProcessId(HWND window, DWORD* processId)
{
    using Fn = DWORD(WINAPI*)(HWND, LPDWORD);
    Fn call = Resolve<Fn>(g_getWindowThreadProcessId, "GetWindowThreadProcessId");
    return call ? call(window, processId) : 0;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    using Fn = BOOL(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
    Fn call = Resolve<Fn>(g_postMessage, "PostMessageA");
    return call ? call(window, message, wParam, lParam) : FALSE;
}

BOOL ExitWindowsEx(UINT flags, DWORD reason)
{
    using Fn = BOOL(WINAPI*)(UINT, DWORD);
    Fn call = Resolve<Fn>(g_exitWindowsEx, "ExitWindowsEx");
    return call ? call(flags, reason) : FALSE;
}

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    using Fn = ATOM(WINAPI*)(const WNDCLASSA*);
    Fn call = Resolve<Fn>(g_registerClass, "RegisterClassA");
    return call ? call(windowClass) : 0;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter)
{
    using Fn =
        HWND(WINAPI*)(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID);
    Fn call = Resolve<Fn>(g_createWindowEx, "CreateWindowExA");
    return call ? call(exStyle, className, title, style, x, y, width, height, parent, menu, instance,
                       parameter)
                : nullptr;
}

BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last)
{
    using Fn = BOOL(WINAPI*)(MSG*, HWND, UINT, UINT);
    Fn call = Resolve<Fn>(g_getMessage, "GetMessageA");
    return call ? call(message, window, first, last) : -1;
}

LRESULT DispatchMessageA(const MSG* message)
{
    using Fn = LRESULT(WINAPI*)(const MSG*);
    Fn call = Resolve<Fn>(g_dispatchMessage, "DispatchMessageA");
    return call ? call(message) : 0;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    using Fn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);
    Fn call = Resolve<Fn>(g_defWindowProc, "DefWindowProcA");
    return call ? call(window, message, wParam, lParam) : 0;
}

}  // namespace window_calls
