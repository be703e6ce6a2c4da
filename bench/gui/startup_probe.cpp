// bench_startup_probe PROGRAM TITLE [ARGUMENTS...]: starts PROGRAM (with the arguments), waits for its
// visible top-level window titled TITLE, has it paint (UpdateWindow waits for the paint of another thread's
// window) and prints the milliseconds from the start; then ends the program.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Search {
    DWORD processId;
    const char* title;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char text[256] = {};
    if (owner == search->processId && ::IsWindowVisible(window) && ::GetWindowTextA(window, text, sizeof text)
        && std::strcmp(text, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup_probe PROGRAM TITLE [ARGUMENTS...]\n");
        return 2;
    }
    std::string commandLine = std::string("\"") + argv[1] + "\"";
    for (int i = 3; i < argc; ++i)
        commandLine += std::string(" ") + argv[i];
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency, begin, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&begin);
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        std::fprintf(stderr, "CreateProcess failed, error = %lu\n", ::GetLastError());
        return 1;
    }
    Search search = {process.dwProcessId, argv[2], nullptr};
    for (int tries = 0; !search.found && tries < 60000; ++tries) {
        ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            ::Sleep(1);
    }
    int result = 0;
    if (search.found) {
        ::UpdateWindow(search.found);
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_BLOCK, 30000, &ignored);
        ::QueryPerformanceCounter(&end);
        std::printf("%.1f\n", 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart)
                                  / static_cast<double>(frequency.QuadPart));
    } else {
        std::fprintf(stderr, "no window titled %s\n", argv[2]);
        result = 1;
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return result;
}
