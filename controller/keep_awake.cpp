#include "controller/keep_awake.h"

#include <windows.h>

#include "controller/log_message.h"
#include "controller/run_journal.h"
#include "runtime/entry_point.h"

namespace {

// Windows 98 and 2000 and later; NT 4.0 and Windows 95 have no such call.
using SetThreadExecutionStateFn = DWORD(WINAPI*)(DWORD flags);
const DWORD kContinuous = 0x80000000;       // ES_CONTINUOUS
const DWORD kSystemRequired = 0x00000001;   // ES_SYSTEM_REQUIRED
const DWORD kDisplayRequired = 0x00000002;  // ES_DISPLAY_REQUIRED

bool g_keptAwake = false;
bool g_screenSaverOff = false;

SetThreadExecutionStateFn ExecutionStateCall()
{
    return LookUp<SetThreadExecutionStateFn>(GetModuleHandleA("kernel32.dll"), "SetThreadExecutionState");
}

bool ScreenSaverActive(bool& active)
{
    BOOL value = FALSE;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &value, 0))
        return false;
    active = value != FALSE;
    return true;
}

// For this session only: without SPIF_UPDATEINIFILE the user's setting is not written.
bool SetScreenSaver(bool active)
{
    return SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0) != FALSE;
}

}  // namespace

void BeginKeepAwake()
{
    SetThreadExecutionStateFn executionState = ExecutionStateCall();
    if (executionState == nullptr) {
        LogMessage(LOG_WARNING,
                   "\r\nWARNING: This Windows cannot be kept from sleeping (no SetThreadExecutionState)");
    } else if (executionState(kContinuous | kSystemRequired | kDisplayRequired) == 0) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Unable to keep the computer awake, error = %lu",
                   GetLastError());
    } else {
        g_keptAwake = true;
        LogMessage(LOG_PLAIN,
                   "\r\nKeeping the computer awake and the display on while the Main Application runs");
    }
    bool active = false;
    if (!ScreenSaverActive(active)) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Unable to read whether the screen saver is on, error = %lu",
                   GetLastError());
        return;
    }
    if (!active)
        return;  // off already: nothing to turn on again
    // Recorded first: a run that dies with the screen saver off leaves it to --restore.
    if (!JournalRecordScreenSaverOff(true))
        return;  // the run is being ended: nothing more is changed
    if (!SetScreenSaver(false)) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Unable to turn the screen saver off, error = %lu",
                   GetLastError());
        JournalRecordScreenSaverOff(false);
        return;
    }
    g_screenSaverOff = true;
    LogMessage(LOG_PLAIN, "\r\nScreen saver: off for the run");
}

void EndKeepAwake()
{
    if (g_keptAwake) {
        g_keptAwake = false;
        SetThreadExecutionStateFn executionState = ExecutionStateCall();
        if (executionState != nullptr)
            executionState(kContinuous);  // fails only for flags it does not know
    }
    if (!g_screenSaverOff)
        return;
    g_screenSaverOff = false;
    if (!SetScreenSaver(true)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to turn the screen saver on again, error = %lu",
                   GetLastError());
        return;  // stays in the journal for --restore
    }
    LogMessage(LOG_PLAIN, "\r\nScreen saver: on again");
    JournalRecordScreenSaverOff(false);
}

bool RestoreScreenSaver(const JournalRecord& journal, JournalRecord& left)
{
    if (!journal.screenSaverOff)
        return true;
    if (!SetScreenSaver(true)) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to turn the screen saver on again, error = %lu",
                   GetLastError());
        left.screenSaverOff = true;
        return false;
    }
    LogMessage(LOG_PLAIN, "\r\nScreen saver: on again");
    return true;
}

void DescribeKeepAwake()
{
    LogMessage(LOG_PLAIN,
               ExecutionStateCall() != nullptr
                   ? "\r\nWould keep the computer awake and the display on while the Main Application runs"
                   : "\r\nThis Windows cannot be kept from sleeping (no SetThreadExecutionState)");
    bool active = false;
    if (ScreenSaverActive(active) && active)
        LogMessage(LOG_PLAIN, "\r\nWould turn the screen saver off for the run, and on again afterwards");
    else
        LogMessage(LOG_PLAIN, "\r\nThe screen saver is off already - left so");
}
