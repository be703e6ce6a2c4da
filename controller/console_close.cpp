#include "controller/console_close.h"

#include <windows.h>

#include <string>

#include "controller/journal_restore.h"
#include "controller/log_message.h"
#include "controller/run_journal.h"
#include "controller/window_calls.h"

namespace {

// Who puts back what the run stopped: 0 nobody yet, 1 the run itself (phases 8 and 9),
// 2 the first of the console's close, sign-out and shutdown (as console events or as
// WM_ENDSESSION).
volatile LONG g_restoreOwner = 0;
// Set once that restore is over (manual reset, created before the handler).
HANDLE g_restoreDone = nullptr;
bool g_ntFamily = true;

// Returns once what the run stopped was put back, by this call or by whoever came first
// (returning earlier would let the process end in the middle of that restore).
void PutBackWhatTheRunStopped()
{
    if (InterlockedCompareExchange(&g_restoreOwner, 2, 0) != 0) {
        if (g_restoreDone == nullptr)
            Sleep(INFINITE);
        WaitForSingleObject(g_restoreDone, INFINITE);
        return;
    }
    // The threads still stopping what they record stop nothing more once the journal is handed over;
    // the main thread waits in ClaimTheRestore. The journal file changes only at the end of
    // the restore, so whatever Windows does not give the time for stays in it.
    std::string path;
    JournalRecord record;
    if (JournalHandOver(path, record)) {
        LogMessage(LOG_WARNING, "\r\nWARNING: The run is being ended - putting back what it stopped...");
        RestoreOwnJournal(path, record, g_ntFamily);
    }
    RestoreFinished();
}

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        LogMessage(LOG_WARNING,
                   "\r\nCtrl+C does not end a run: it ends when the main application ends, "
                   "and then puts everything back.");
        return TRUE;
    }
    if (event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT && event != CTRL_SHUTDOWN_EVENT)
        return FALSE;
    PutBackWhatTheRunStopped();
    // FALSE: the default handler ends the process, as Windows would after TRUE.
    return FALSE;
}

// Windows 7 and later send no sign-out or shutdown event to a console process that has
// loaded user32.dll (a run with a journal has, through shell32): such a process hears of
// the session's end as a program with windows does, by WM_ENDSESSION to a top-level
// window, hidden here.
const char kSessionWindowClass[] = "ZephrunSessionEnd";

LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENDSESSION && wParam != FALSE) {
        PutBackWhatTheRunStopped();
        ExitProcess(1);  // the session ends: Windows may end the process once this returns
    }
    return window_calls::DefWindowProcA(window, message, wParam, lParam);
}

struct SessionWindowStart {
    HANDLE ready;  // set once the window exists, or could not be made
    bool made;
    DWORD error;  // why it could not be made
};

// Creates the window, reports through the start block (and touches it no more), then serves
// the window until the process ends.
DWORD WINAPI SessionWindowThread(LPVOID parameter)
{
    SessionWindowStart* start = static_cast<SessionWindowStart*>(parameter);
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = SessionWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kSessionWindowClass;
    const HWND window = window_calls::RegisterClassA(&windowClass) == 0
                            ? nullptr
                            : window_calls::CreateWindowExA(0, kSessionWindowClass, "", WS_POPUP, 0, 0, 0, 0,
                                                            nullptr, nullptr, windowClass.hInstance, nullptr);
    start->made = window != nullptr;
    start->error = GetLastError();
    SetEvent(start->ready);
    if (window == nullptr)
        return 0;
    MSG message;
    while (window_calls::GetMessageA(&message, nullptr, 0, 0) > 0)
        window_calls::DispatchMessageA(&message);
    return 0;
}

void WatchTheSession()
{
    SessionWindowStart start = {CreateEventA(nullptr, TRUE, FALSE, nullptr), false, 0};
    HANDLE thread =
        start.ready == nullptr ? nullptr : CreateThread(nullptr, 0, SessionWindowThread, &start, 0, nullptr);
    if (thread == nullptr) {
        start.error = GetLastError();
    } else {
        // Nothing is stopped before the window can hear of the session's end.
        WaitForSingleObject(start.ready, INFINITE);
        CloseHandle(thread);
    }
    if (start.ready != nullptr)
        CloseHandle(start.ready);
    if (!start.made) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: Unable to watch for the end of the Windows session (error %lu) - "
                   "do not sign out during the run.",
                   start.error);
    }
}

}  // namespace

void InstallConsoleHandler(bool ntFamily, bool watchSession)
{
    g_ntFamily = ntFamily;
    // Without the event a second close waits for the first restore until Windows ends the process.
    g_restoreDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: Unable to watch the console (error %lu) - do not close it during the run.",
                   GetLastError());
    }
    if (watchSession)
        WatchTheSession();
}

void ClaimTheRestore()
{
    if (InterlockedCompareExchange(&g_restoreOwner, 1, 0) != 2)
        return;
    for (;;)
        Sleep(INFINITE);  // the process ends when the console's handler returns
}

void HoldIfTheConsoleCloses()
{
    if (g_restoreOwner != 2)
        return;
    for (;;)
        Sleep(INFINITE);  // the process ends when the console's handler returns
}

void RestoreFinished()
{
    if (g_restoreDone != nullptr)
        SetEvent(g_restoreDone);
}
