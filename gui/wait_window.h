// Waiting for a controller the GUI started (a restore, a run, a preview) without freezing:
// a small window says what is being waited for, and the thread's messages are handled
// meanwhile, so that every window of the GUI paints and answers.
#pragma once

#include <windows.h>

class WaitWindow {
public:
    // Shows a small window titled title near owner and disables owner (so that nothing of
    // it can be started again meanwhile); the destructor undoes both.
    WaitWindow(HWND owner, const char* title);
    ~WaitWindow();
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

    // Waits until handle is signalled (true) or milliseconds (INFINITE: no limit) have
    // passed (false), handling this thread's messages meanwhile (MsgWaitForMultipleObjects).
    // A WM_QUIT met on the way is posted again and ends the wait with false.
    static bool Wait(HANDLE handle, DWORD milliseconds);

private:
    HWND m_owner;
    HWND m_window = nullptr;
    bool m_ownerWasEnabled = false;
};
