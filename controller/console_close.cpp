#include "controller/console_close.h"

#include <windows.h>

#include <string>

#include "controller/journal_restore.h"
#include "controller/log_message.h"
#include "controller/run_journal.h"

namespace {

// Who puts back what the run stopped: 0 nobody yet, 1 the run itself (phases 8 and 9),
// 2 the first of the console's close, sign-out and shutdown events.
volatile LONG g_restoreOwner = 0;
// Set once that restore is over (manual reset, created before the handler).
HANDLE g_restoreDone = nullptr;
bool g_ntFamily = true;

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
    if (InterlockedCompareExchange(&g_restoreOwner, 2, 0) != 0) {
        // Phases 8 and 9, or an earlier event, restore already: let them finish as far as
        // the time allows (returning would end the process).
        if (g_restoreDone == nullptr)
            Sleep(INFINITE);
        WaitForSingleObject(g_restoreDone, INFINITE);
        return FALSE;
    }
    // The threads still stopping what they record stop nothing more once the journal is handed over;
    // the main thread waits in ClaimTheRestore. The journal file changes only at the end of
    // the restore, so whatever Windows does not give the time for stays in it.
    std::string path;
    JournalRecord record;
    if (JournalHandOver(path, record)) {
        LogMessage(LOG_WARNING, "\r\nWARNING: The console is closing - putting back what the run stopped...");
        RestoreOwnJournal(path, record, g_ntFamily);
    }
    RestoreFinished();
    // FALSE: the default handler ends the process, as Windows would after TRUE.
    return FALSE;
}

}  // namespace

void InstallConsoleHandler(bool ntFamily)
{
    g_ntFamily = ntFamily;
    // Without the event a second close waits for the first restore until Windows ends the process.
    g_restoreDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: Unable to watch the console (error %lu) - do not close it during the run.",
                   GetLastError());
    }
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
