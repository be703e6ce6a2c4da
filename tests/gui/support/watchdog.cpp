#include "support/watchdog.h"

#include <cstdio>

namespace gt {

Watchdog::Watchdog(const char* what, DWORD limitMs) : m_what(what), m_limit(limitMs)
{
    m_done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_done) {
        std::fprintf(stderr, "watchdog: CreateEvent failed (error = %lu)\n", ::GetLastError());
        return;
    }
    m_thread = ::CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
    if (!m_thread)
        std::fprintf(stderr, "watchdog: CreateThread failed (error = %lu)\n", ::GetLastError());
}

Watchdog::~Watchdog()
{
    if (m_done)
        ::SetEvent(m_done);
    if (m_thread) {
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
    }
    if (m_done)
        ::CloseHandle(m_done);
}

DWORD WINAPI Watchdog::Run(void* self)
{
    auto* dog = static_cast<Watchdog*>(self);
    if (::WaitForSingleObject(dog->m_done, dog->m_limit) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "watchdog: \"%s\" did not finish within %lu ms; ending the test program\n",
                     dog->m_what.c_str(), dog->m_limit);
        std::fflush(stderr);
        std::fflush(stdout);
        ::TerminateProcess(::GetCurrentProcess(), 99);
    }
    return 0;
}

}  // namespace gt
