#include "support/message_pump.h"

namespace gt {

void PumpMessages(HWND dialog)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && ::IsWindow(dialog) && ::IsDialogMessageA(dialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, int milliseconds, HWND dialog)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages(dialog);
        if (done())
            return true;
        if (static_cast<int>(::GetTickCount() - start) > milliseconds)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace gt
