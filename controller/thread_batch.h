// Worker threads of the phases that handle many entries at once (2, 3, 8, 9): threads are
// collected 47 at a time (WaitForMultipleObjects takes at most 64 handles) and each full
// batch, and finally the rest, is waited for completely.
#pragma once

#include <windows.h>

class ThreadBatch {
public:
    ThreadBatch() = default;
    ~ThreadBatch() { WaitForAll(); }
    ThreadBatch(const ThreadBatch&) = delete;
    ThreadBatch& operator=(const ThreadBatch&) = delete;

    // Starts procedure on block; the block belongs to the thread once it runs. On failure
    // an error line names the entry and false is returned: the block stays the caller's.
    bool Start(LPTHREAD_START_ROUTINE procedure, void* block, const char* entryName);

    // Waits for every thread started since the last wait and closes their handles.
    void WaitForAll();

private:
    static constexpr DWORD kBatchSize = 47;
    HANDLE m_threads[kBatchSize] = {};
    DWORD m_count = 0;
};
