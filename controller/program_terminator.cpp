#include "controller/program_terminator.h"

#include <cstring>

#include "controller/log_message.h"
#include "controller/logic/program_names.h"
#include "controller/run_journal.h"
#include "controller/run_state.h"
#include "controller/window_calls.h"

namespace {

const char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char kAutoRestartShell[] = "AutoRestartShell";

// What ending a program needs: the wait for it to close, and the termination. Programs that
// run elevated, protected processes and programs that harden their rights refuse anything
// more, but most of them still grant these two.
constexpr DWORD kEndRights = SYNCHRONIZE | PROCESS_TERMINATE;

ProcessOpen g_processOpen = nullptr;

// How long a terminated process may take to leave the process list before the next pass.
constexpr DWORD kTerminationSettleMs = 5000;

bool g_shellRestartSaved = false;  // guarded by g_outputLock

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#endif

// A 32-bit controller on 64-bit Windows would be redirected to the 32-bit copy of the key
// (Wow6432Node), which the shell never reads: there it asks for the 64-bit view.
// IsWow64Process is looked up by name, as systems before XP SP2 do not have it.
REGSAM WinlogonKeyView()
{
    using IsWow64ProcessProc = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return 0;
    const auto isWow64Process = reinterpret_cast<IsWow64ProcessProc>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    if (isWow64Process == nullptr || !isWow64Process(GetCurrentProcess(), &wow64))
        return 0;
    return wow64 ? KEY_WOW64_64KEY : 0;
}

LONG OpenWinlogonKey(REGSAM rights, HKEY* key)
{
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWinlogonKey, 0, rights | WinlogonKeyView(), key);
}

LONG WriteShellRestart(HKEY key, DWORD value)
{
    return RegSetValueExA(key, kAutoRestartShell, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value);
}

}  // namespace

void ReportProcessListFailure(const char* name, const char* outcome)
{
    LogMessage(LOG_ERROR, "\r\nERROR: Unable to list the running programs - %s %s", name, outcome);
}

ProcessOpen SetProcessOpen(ProcessOpen open)
{
    const ProcessOpen previous = g_processOpen;
    g_processOpen = open;
    return previous;
}

bool SaveAndDisableShellRestart()
{
    // Registry failures here are not reported: without the value the shell simply restarts.
    bool journaled = true;
    EnterCriticalSection(&g_outputLock);
    HKEY key = nullptr;
    if (OpenWinlogonKey(KEY_QUERY_VALUE | KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        if (!g_shellRestartSaved) {
            DWORD value = 0;
            DWORD size = sizeof value;
            DWORD type = 0;
            if (RegQueryValueExA(key, kAutoRestartShell, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                                 &size)
                    == ERROR_SUCCESS
                && size == sizeof value) {
                g_savedAutoRestartShell = value;
            }
            // Kept in the run journal before the value is zeroed.
            journaled = JournalRecordShellValue(g_savedAutoRestartShell);
            g_shellRestartSaved = journaled;
        }
        if (journaled)
            WriteShellRestart(key, 0);
        RegCloseKey(key);
    }
    LeaveCriticalSection(&g_outputLock);
    return journaled;
}

long RestoreShellRestart()
{
    EnterCriticalSection(&g_outputLock);
    HKEY key = nullptr;
    LONG result = OpenWinlogonKey(KEY_SET_VALUE, &key);
    if (result == ERROR_SUCCESS) {
        result = WriteShellRestart(key, g_savedAutoRestartShell);
        RegCloseKey(key);
    }
    // A value that could not be written back is tried again at the end of the run.
    if (result == ERROR_SUCCESS)
        g_shellRestartSaved = false;
    LeaveCriticalSection(&g_outputLock);
    return result;
}

unsigned long ReadShellRestart()
{
    DWORD value = 1;
    HKEY key = nullptr;
    if (OpenWinlogonKey(KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD read = 0;
        DWORD size = sizeof read;
        DWORD type = 0;
        if (RegQueryValueExA(key, kAutoRestartShell, nullptr, &type, reinterpret_cast<BYTE*>(&read), &size)
                == ERROR_SUCCESS
            && size == sizeof read)
            value = read;
        RegCloseKey(key);
    }
    return value;
}

bool RestoreShellRestartAtEnd()
{
    EnterCriticalSection(&g_outputLock);
    const bool changed = g_shellRestartSaved;
    LeaveCriticalSection(&g_outputLock);
    if (!changed)
        return true;
    const long result = RestoreShellRestart();
    if (result == ERROR_SUCCESS)
        return true;
    LogMessage(LOG_ERROR, "\r\nERROR: Unable to restore AutoRestartShell, error = %ld", result);
    return false;
}

ProgramTerminator::ProgramTerminator()
    : m_handled(false),
      m_refused(false),
      m_findOnly(false),
      m_foundPid(0),
      m_closePid(0),
      m_windowFound(false),
      m_endedPid(0)
{
    std::memset(m_programName, 0, sizeof m_programName);
}

bool ProgramTerminator::IsIgnored(DWORD processId) const
{
    for (DWORD ignored : m_ignoredPids) {
        if (ignored == processId)
            return true;
    }
    return false;
}

BOOL ProgramTerminator::OnProcess(const char* processName, DWORD processId)
{
    if (!SameTextIgnoringCase(ComparableProcessName(processName, IsNtFamily()), m_programName))
        return TRUE;
    // The controller never ends (nor waits for) itself, whatever its file is called.
    if (IsIgnored(processId) || processId == GetCurrentProcessId())
        return TRUE;
    if (m_accept != nullptr && !m_accept(processId, m_acceptContext))
        return TRUE;

    if (m_findOnly) {
        m_findOnly = false;
        m_foundPid = processId;
        return FALSE;
    }

    HANDLE process = g_processOpen != nullptr ? g_processOpen(kEndRights, FALSE, processId)
                                              : OpenProcess(kEndRights, FALSE, processId);
    if (process == nullptr) {
        // Not this one (said once); the next instance of the name may still be ended.
        LogMessage(LOG_ERROR, "\r\nERROR opening process handle for program %s: code %lu", m_programName,
                   GetLastError());
        IgnoreProcess(processId);
        m_refused = true;
        return TRUE;
    }
    if (m_beforeEnd != nullptr && !m_beforeEnd(m_beforeEndContext)) {
        CloseHandle(process);  // the run is being ended: nothing more is stopped
        return FALSE;
    }
    // What m_beforeEnd recorded is a stop under way until this call returns.
    struct StopUnderWay {
        bool recorded;
        ~StopUnderWay()
        {
            if (recorded)
                JournalStopOver();
        }
    } stop{m_beforeEnd != nullptr};
    if (IsShellProgramKey(m_programName) && !SaveAndDisableShellRestart()) {
        CloseHandle(process);  // the run is being ended: nothing more is stopped
        return FALSE;
    }
    if (IsShellProgramKey(m_programName)) {
        // The shell is not asked to close: Windows would restart it at once unless told not to.
        EndProcess(process, processId);
        return FALSE;
    }

    LogMessage(LOG_PLAIN, "\r\nTerminating %s...", m_programName);
    m_closePid = processId;
    m_windowFound = false;
    // Windows 9x/ME has no EnumDesktopWindows; there EnumWindows lists the same windows.
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    const BOOL listed = IsNtFamily() ? window_calls::EnumDesktopWindows(nullptr, CloseWindowsOfProcess, self)
                                     : window_calls::EnumWindows(CloseWindowsOfProcess, self);
    if (!listed) {
        // No windows could be listed: treated like a program without windows.
    }
    if (m_windowFound) {
        const DWORD allowed = CloseWaitMilliseconds(g_nonResponseSeconds);
        const DWORD start = GetTickCount();
        // The first one-second wait always happens, also with nonresponse 0 and when the tick
        // counter moves on between the two readings.
        do {
            if (WaitForSingleObject(process, 1000) == WAIT_OBJECT_0) {
                CloseHandle(process);
                m_handled = true;
                m_endedPid = processId;
                return FALSE;
            }
            if (JournalHandedOver()) {
                // The run is being ended, and its restore finds the program still running:
                // it is not terminated behind that restore's back.
                CloseHandle(process);
                return FALSE;
            }
        } while (GetTickCount() - start <= allowed);
    }
    EndProcess(process, processId);
    return FALSE;
}

void ProgramTerminator::EndProcess(HANDLE process, DWORD processId)
{
    if (TerminateProcess(process, 0)) {
        // Termination completes asynchronously; let the process leave the list first so that
        // the next pass does not find it again.
        WaitForSingleObject(process, kTerminationSettleMs);
    } else {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to terminate %s - error %lu", m_programName, GetLastError());
    }
    CloseHandle(process);
    m_handled = true;
    m_endedPid = processId;
}

BOOL CALLBACK CloseWindowsOfProcess(HWND window, LPARAM terminator)
{
    ProgramTerminator* self = reinterpret_cast<ProgramTerminator*>(terminator);
    DWORD owner = 0;
    window_calls::GetWindowThreadProcessId(window, &owner);
    if (owner == self->m_closePid) {
        self->m_windowFound = true;
        if (!window_calls::PostMessageA(window, WM_CLOSE, 0, 0)) {
            // A window that went away meanwhile; the wait below covers the process either way.
        }
    }
    return TRUE;
}
