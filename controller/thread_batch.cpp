#include "controller/thread_batch.h"

#include "controller/log_message.h"

bool ThreadBatch::Start(LPTHREAD_START_ROUTINE procedure, void* block, const char* entryName)
{
    HANDLE thread = CreateThread(nullptr, 0, procedure, block, 0, nullptr);
    if (thread == nullptr) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to create a thread for '%s', error = %lu", entryName,
                   GetLastError());
        return false;
    }
    m_threads[m_count++] = thread;
    if (m_count == kBatchSize)
        WaitForAll();
    return true;
}

void ThreadBatch::WaitForAll()
{
    if (m_count == 0)
        return;
    if (WaitForMultipleObjects(m_count, m_threads, TRUE, INFINITE) == WAIT_FAILED) {
        LogMessage(LOG_ERROR, "\r\nERROR: Unable to wait for the worker threads, error = %lu",
                   GetLastError());
        // Never leave a thread running past its phase: wait for each one alone.
        for (DWORD i = 0; i < m_count; ++i)
            WaitForSingleObject(m_threads[i], INFINITE);
    }
    for (DWORD i = 0; i < m_count; ++i)
        CloseHandle(m_threads[i]);
    m_count = 0;
}
