// A per-test watchdog: ends the whole process with exit code 99 and a message when the
// test it guards has not finished within the limit, so that no test can hang the run.
#pragma once

#include <windows.h>

#include <string>

namespace gt {

class Watchdog {
public:
    explicit Watchdog(const char* what, DWORD limitMs = 60000);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Run(void* self);
    std::string m_what;
    DWORD m_limit;
    HANDLE m_done = nullptr;
    HANDLE m_thread = nullptr;
};

}  // namespace gt
