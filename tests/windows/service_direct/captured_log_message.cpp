#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "controller/log_message.h"
#include "controller/service_state.h"
#include "service_direct/captured_log.h"

namespace {

std::mutex g_capturedLock;
std::vector<zt::CapturedMessage> g_captured;

}  // namespace

int LogMessage(int level, const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    const int formatted = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (formatted < 0)
        text[0] = '\0';
    std::lock_guard<std::mutex> hold(g_capturedLock);
    g_captured.push_back({level, text});
    return static_cast<int>(g_captured.back().text.size());
}

void InitConsoleOutput() {}

// The not-running record is captured the same way, at level -1.
void RecordServiceNotRunning(const char* key) { LogMessage(-1, "not running %s", key); }

unsigned short AttributeForLevel(int) { return 0; }

namespace zt {

std::vector<CapturedMessage> TakeCapturedMessages()
{
    std::lock_guard<std::mutex> hold(g_capturedLock);
    std::vector<CapturedMessage> taken;
    taken.swap(g_captured);
    return taken;
}

}  // namespace zt
