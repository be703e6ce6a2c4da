#include "controller/log_message.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "controller/run_state.h"
#include "runtime/entry_point.h"
#include "runtime/format_text.h"

namespace {

const char kLogFileName[] = "zephrun_log.txt";
bool g_consoleHasColours = false;
// What the console showed before the first message: each message leaves it so again.
WORD g_consoleAttribute = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;
// The console's code page where it differs from the ANSI one the text is made in; 0: none.
UINT g_consoleCodePage = 0;
using WriteConsoleWFn = BOOL(WINAPI*)(HANDLE, const void*, DWORD, LPDWORD, LPVOID);
WriteConsoleWFn g_writeConsoleW = nullptr;
const char* g_outputCopyPath = nullptr;

// Prints the message to the console as the characters the ANSI text means: as Unicode
// (WriteConsoleW, which Windows 9x exports as a stub that fails), else converted to the
// console's code page. False where nothing needs converting or it cannot be converted.
bool WriteToConsole(const char* text)
{
    if (g_consoleCodePage == 0)
        return false;
    WCHAR wide[1024];  // a message is at most 1023 bytes
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 1024);
    if (length <= 1)
        return false;
    DWORD written = 0;
    if (g_writeConsoleW != nullptr
        && g_writeConsoleW(g_console, wide, static_cast<DWORD>(length - 1), &written, nullptr))
        return true;
    char shown[4096];  // up to three bytes a character in UTF-8
    if (WideCharToMultiByte(g_consoleCodePage, 0, wide, -1, shown, sizeof shown, nullptr, nullptr) <= 0)
        return false;
    std::fputs(shown, stdout);
    return true;
}

void AppendToLogFile(const char* text, const char* path = kLogFileName)
{
    // Opened and closed per message so the file is complete whatever happens later.
    FILE* file = std::fopen(path, "a+");
    if (file == nullptr)
        return;  // an unwritable folder only turns logging off
    std::fputs(text, file);
    std::fclose(file);
}

}  // namespace

void CopyOutputToFile(const char* path) { g_outputCopyPath = path; }

void InitConsoleOutput()
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    g_consoleHasColours = g_console != nullptr && g_console != INVALID_HANDLE_VALUE
                          && GetConsoleScreenBufferInfo(g_console, &info) != 0;
    if (!g_consoleHasColours)
        return;  // redirected output keeps the ANSI bytes, as the log file does
    g_consoleAttribute = info.wAttributes;
    const UINT codePage = GetConsoleOutputCP();
    g_consoleCodePage = codePage != 0 && codePage != GetACP() ? codePage : 0;
    g_writeConsoleW = LookUp<WriteConsoleWFn>(GetModuleHandleA("kernel32.dll"), "WriteConsoleW");
}

unsigned short AttributeForLevel(int level)
{
    switch (level) {
    case LOG_HEADING:
        return FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE | FOREGROUND_INTENSITY;
    case LOG_WARNING:
        return FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_INTENSITY;
    case LOG_ERROR:
        return FOREGROUND_RED | FOREGROUND_INTENSITY;
    default:
        return 0;
    }
}

int LogMessage(int level, const char* format, ...)
{
    EnterCriticalSection(&g_outputLock);

    char text[1024];
    va_list args;
    va_start(args, format);
    int formatted = FormatTextV(text, sizeof text, format, args);
    va_end(args);
    if (formatted < 0)
        text[0] = '\0';

    const WORD attribute = AttributeForLevel(level);
    if (g_consoleHasColours && attribute != 0)
        SetConsoleTextAttribute(g_console, attribute);
    const int written =
        WriteToConsole(text) || std::fputs(text, stdout) >= 0 ? static_cast<int>(std::strlen(text)) : 0;
    std::fflush(stdout);
    if (g_consoleHasColours)
        SetConsoleTextAttribute(g_console, g_consoleAttribute);

    if (g_logToFile != 0)
        AppendToLogFile(text);
    if (g_outputCopyPath != nullptr)
        AppendToLogFile(text, g_outputCopyPath);

    LeaveCriticalSection(&g_outputLock);
    return written;
}
