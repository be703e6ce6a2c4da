#include "framework/message_filter.h"

#include "framework/wnd.h"

namespace {

// The GUI runs on one thread: one hook.
HHOOK g_messageHook = nullptr;

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
        if (msg->hwnd && PreTranslateChain(msg)) {
            // Handled: the message reaches nobody else.
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    return ::CallNextHookEx(g_messageHook, code, wp, lp);
}

}  // namespace

bool InstallMessageFilter()
{
    if (g_messageHook)
        return true;
    g_messageHook = ::SetWindowsHookExA(WH_GETMESSAGE, &GetMessageHook, nullptr, ::GetCurrentThreadId());
    return g_messageHook != nullptr;
}
