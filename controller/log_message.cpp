#include "controller/log_message.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "controller/run_state.h"

namespace {

const char kLogFileName[] = "zephrun_log.txt";
const WORD kDefaultAttribute = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;
bool g_consoleHasColours = false;
const char* g_outputCopyPath = nullptr;

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
    DWORD mode = 0;
    g_consoleHasColours =
        g_console != nullptr && g_console != INVALID_HANDLE_VALUE && GetConsoleMode(g_console, &mode) != 0;
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
    int formatted = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (formatted < 0)
        text[0] = '\0';

    const WORD attribute = AttributeForLevel(level);
    if (g_consoleHasColours && attribute != 0)
        SetConsoleTextAttribute(g_console, attribute);
    const int written = std::fputs(text, stdout) < 0 ? 0 : static_cast<int>(std::strlen(text));
    std::fflush(stdout);
    if (g_consoleHasColours)
        SetConsoleTextAttribute(g_console, kDefaultAttribute);

    if (g_logToFile != 0)
        AppendToLogFile(text);
    if (g_outputCopyPath != nullptr)
        AppendToLogFile(text, g_outputCopyPath);

    LeaveCriticalSection(&g_outputLock);
    return written;
}
