#include "framework/message_filter.h"

#include "framework/wnd.h"

namespace {

// The hook is per thread: its handle lives in a thread-local-storage slot, allocated once.
volatile LONG g_hookSlot = -1;

DWORD HookSlot()
{
    const LONG slot = g_hookSlot;
    if (slot != -1)
        return static_cast<DWORD>(slot);
    const DWORD fresh = ::TlsAlloc();
    if (fresh == TLS_OUT_OF_INDEXES)
        return TLS_OUT_OF_INDEXES;
    const LONG earlier = ::InterlockedCompareExchange(&g_hookSlot, static_cast<LONG>(fresh), -1);
    if (earlier != -1) {
        ::TlsFree(fresh);
        return static_cast<DWORD>(earlier);
    }
    return fresh;
}

HHOOK ThreadHook()
{
    const DWORD slot = HookSlot();
    return slot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<HHOOK>(::TlsGetValue(slot));
}

bool PreTranslateChain(MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* object = CWnd::FromHandlePermanent(hwnd);
        if (object && object->PreTranslateMessage(msg))
            return true;
    }
    return false;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HC_ACTION && wp == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lp);
        try {
            if (msg->hwnd && PreTranslateChain(msg)) {
                // Handled: the message reaches nobody else.
                msg->message = WM_NULL;
                msg->wParam = 0;
                msg->lParam = 0;
            }
        } catch (...) {
        }
    }
    return ::CallNextHookEx(ThreadHook(), code, wp, lp);
}

}  // namespace

bool InstallMessageFilter()
{
    const DWORD slot = HookSlot();
    if (slot == TLS_OUT_OF_INDEXES)
        return false;
    if (::TlsGetValue(slot))
        return true;
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, nullptr, ::GetCurrentThreadId());
    if (!hook)
        return false;
    if (!::TlsSetValue(slot, hook)) {
        ::UnhookWindowsHookEx(hook);
        return false;
    }
    return true;
}
