#include "controller/system_memory.h"

#include <windows.h>

namespace {

using GlobalMemoryStatusExFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);

}  // namespace

PhysicalMemory QueryPhysicalMemory()
{
    // GlobalMemoryStatusEx (Windows 2000 and later) is looked up by name so the
    // controller still starts on Windows 9x and NT 4.0, where only the 32-bit call exists.
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    if (kernel != nullptr) {
        auto statusEx = reinterpret_cast<GlobalMemoryStatusExFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "GlobalMemoryStatusEx")));
        if (statusEx != nullptr) {
            MEMORYSTATUSEX status;
            ZeroMemory(&status, sizeof status);
            status.dwLength = sizeof status;
            if (statusEx(&status))
                return {status.ullTotalPhys, status.ullAvailPhys, status.ullAvailPageFile};
        }
    }
    MEMORYSTATUS status;
    ZeroMemory(&status, sizeof status);
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return {status.dwTotalPhys, status.dwAvailPhys, status.dwAvailPageFile};
}
