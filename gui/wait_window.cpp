#include "wait_window.h"

WaitWindow::WaitWindow(HWND owner, const char* title) : m_owner(owner)
{
    // A static control as a captioned pop-up: no window class of its own to register. Not
    // owned by a minimised owner, which would hide it.
    const bool minimised = owner != nullptr && ::IsIconic(owner);
    m_window = ::CreateWindowExA(WS_EX_DLGMODALFRAME, "STATIC", title,
                                 WS_POPUP | WS_CAPTION | SS_CENTER | SS_CENTERIMAGE, 0, 0, 280, 90,
                                 minimised ? nullptr : owner, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (m_window != nullptr) {
        RECT area = {};
        if (owner == nullptr || minimised || !::IsWindowVisible(owner) || !::GetWindowRect(owner, &area))
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        ::SetWindowPos(m_window, nullptr, (area.left + area.right - 280) / 2,
                       (area.top + area.bottom - 90) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(m_window, SW_SHOW);
        ::UpdateWindow(m_window);
    }
    // After the window is shown, so that the activation goes to it and not elsewhere.
    if (owner != nullptr)
        m_ownerWasEnabled = !::EnableWindow(owner, FALSE);
}

WaitWindow::~WaitWindow()
{
    // The owner first, so that it, and not another program, is activated when the window goes.
    if (m_owner != nullptr && m_ownerWasEnabled)
        ::EnableWindow(m_owner, TRUE);
    if (m_window != nullptr)
        ::DestroyWindow(m_window);
}

bool WaitWindow::Wait(HANDLE handle, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            const DWORD passed = ::GetTickCount() - start;
            if (passed >= milliseconds)
                return ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            left = milliseconds - passed;
        }
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return woken == WAIT_TIMEOUT ? false : ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            // Keys for a dialog (Tab, Enter) are left to the window they reach: the owner is disabled.
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
    }
}
