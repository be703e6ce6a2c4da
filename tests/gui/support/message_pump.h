// Message pumping for tests that run windows on their own thread.
#pragma once

#include <windows.h>

#include <functional>

namespace gt {

// Dispatches queued messages until the queue is empty (dialog messages through
// IsDialogMessage when a dialog is given).
void PumpMessages(HWND dialog = nullptr);
// Pumps until done() is true; false when it is still false after the time (a hang
// guard, not a speed check).
bool PumpUntil(const std::function<bool()>& done, int milliseconds, HWND dialog = nullptr);

}  // namespace gt
