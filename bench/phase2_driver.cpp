// Figures for phase 2 (run by bench/phase2.sh under Wine, beside zephrun.exe and
// fixture_window.exe):
//   - the wall time of phase 2 ending 40 programs that close promptly on WM_CLOSE, next to
//     its floor (one close plus the 500 ms pass that finds none), measured two ways: phase 2
//     with one program, and the 40 programs closed directly (WM_CLOSE to all, wait for all)
//     plus 500 ms; and next to a batch file that ends the same 40 programs with
//     "taskkill /im";
//   - the cost of one EnumerateProcesses pass with 200 processes running.
// Phase 2's time is a whole controller run less the run of the same profile without
// [Programs] entries (start-up and the other phases).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "procenum/process_enumerator.h"

namespace {

std::string g_binDir;
std::string g_work;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HANDLE Start(const std::string& commandLine, bool wait)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    const BOOL ok = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                                   g_work.c_str(), &startup, &process);
    CloseHandle(nul);
    if (!ok) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", commandLine.c_str(), GetLastError());
        std::exit(1);
    }
    CloseHandle(process.hThread);
    if (wait)
        WaitForSingleObject(process.hProcess, INFINITE);
    return process.hProcess;
}

std::string Copy(const std::string& name)
{
    const std::string target = g_work + "\\" + name;
    CopyFileA((g_binDir + "\\fixture_window.exe").c_str(), target.c_str(), FALSE);
    return target;
}

// Starts one instance per path and waits until each is ready to be closed.
std::vector<HANDLE> StartAll(const std::vector<std::string>& paths, const char* options)
{
    std::vector<HANDLE> processes;
    int index = 0;
    for (const std::string& path : paths) {
        char eventName[64];
        std::snprintf(eventName, sizeof eventName, "zeph_bench_ready_%lu_%d", GetCurrentProcessId(), index++);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, eventName);
        HANDLE process = Start("\"" + path + "\" --ready " + eventName + " " + options, false);
        HANDLE both[2] = {ready, process};
        WaitForMultipleObjects(2, both, FALSE, 30000);
        CloseHandle(ready);
        processes.push_back(process);
    }
    return processes;
}

void EndAll(std::vector<HANDLE>& processes)
{
    for (HANDLE process : processes) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
            TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
    processes.clear();
}

double RunController(const std::string& profile)
{
    const double start = Now();
    HANDLE process = Start("\"" + g_binDir + "\\zephrun.exe\" \"" + profile + "\"", true);
    const double elapsed = Now() - start;
    CloseHandle(process);
    return elapsed;
}

std::string WriteProfile(const std::string& name, const std::vector<std::string>& programNames)
{
    const std::string path = g_work + "\\" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs("[Configuration]\r\nnonresponse=15\r\n[Programs]\r\n", file);
    for (const std::string& program : programNames)
        std::fprintf(file, "%s=Stop\r\n", program.c_str());
    std::fclose(file);
    return path;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Posts WM_CLOSE to every top-level window of the given processes.
struct CloseRequest {
    const std::vector<DWORD>* ids;
};

BOOL CALLBACK CloseWindowOf(HWND window, LPARAM parameter)
{
    const CloseRequest* request = reinterpret_cast<const CloseRequest*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    for (DWORD id : *request->ids) {
        if (id == owner)
            PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

// The 40 programs closed without the controller: WM_CLOSE to all, then wait for all.
double CloseDirectly(std::vector<HANDLE>& processes)
{
    std::vector<DWORD> ids;
    for (HANDLE process : processes)
        ids.push_back(GetProcessId(process));
    CloseRequest request = {&ids};
    const double start = Now();
    EnumDesktopWindows(nullptr, CloseWindowOf, reinterpret_cast<LPARAM>(&request));
    WaitForMultipleObjects(static_cast<DWORD>(processes.size()), processes.data(), TRUE, 60000);
    return Now() - start;
}

class CountingEnumerator : public ProcessEnumerator {
public:
    BOOL OnProcess(const char*, DWORD) override
    {
        ++m_count;
        return TRUE;
    }
    int m_count = 0;
};

}  // namespace

int main(int argc, char* argv[])
{
    // A process that only exists: the crowd for the enumeration figure (no window, no console).
    if (argc == 2 && std::strcmp(argv[1], "--idle") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: phase2_driver BIN_DIR WORK_DIR\n");
        return 2;
    }
    g_binDir = argv[1];
    g_work = argv[2];
    CreateDirectoryA(g_work.c_str(), nullptr);
    constexpr int kPrograms = 40;
    constexpr int kRounds = 3;

    std::vector<std::string> names, paths;
    for (int i = 0; i < kPrograms; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "bench_close_%02d.exe", i);
        names.push_back(name);
        paths.push_back(Copy(name));
    }
    const std::string emptyProfile = WriteProfile("bench_empty.ini", {});
    const std::string oneProfile = WriteProfile("bench_one.ini", {names[0]});
    const std::string allProfile = WriteProfile("bench_all.ini", names);

    std::vector<double> baseline, one, all, direct, taskkill, absent;
    for (int round = 0; round < kRounds; ++round) {
        baseline.push_back(RunController(emptyProfile));
        absent.push_back(RunController(allProfile));

        std::vector<HANDLE> single = StartAll({paths[0]}, "");
        one.push_back(RunController(oneProfile));
        EndAll(single);

        std::vector<HANDLE> running = StartAll(paths, "");
        all.push_back(RunController(allProfile));
        EndAll(running);

        running = StartAll(paths, "");
        direct.push_back(CloseDirectly(running) + 0.5);
        EndAll(running);

        // The same 40 programs ended by a batch file of "taskkill /im" lines; timed until the
        // last program has ended.
        running = StartAll(paths, "");
        const std::string batch = g_work + "\\bench_taskkill.bat";
        FILE* file = std::fopen(batch.c_str(), "wb");
        std::fputs("@echo off\r\n", file);
        for (const std::string& name : names)
            std::fprintf(file, "taskkill /im %s >NUL 2>NUL\r\n", name.c_str());
        std::fclose(file);
        const double start = Now();
        CloseHandle(Start("cmd.exe /c \"" + batch + "\"", true));
        WaitForMultipleObjects(static_cast<DWORD>(running.size()), running.data(), TRUE, 60000);
        taskkill.push_back(Now() - start);
        EndAll(running);
    }

    const double base = Median(baseline);
    const double phase2All = Median(all) - base;
    const double floor = Median(one) - base;
    const double kill = Median(taskkill);
    const double directFloor = Median(direct);
    std::printf("medians of %d rounds\n", kRounds);
    std::printf("controller run without programs (subtracted): %.3f s\n", base);
    std::printf("phase 2, 1 program (floor: one close + 500 ms pass): %.3f s\n", floor);
    std::printf("%d programs closed directly + 500 ms (floor for %d): %.3f s\n", kPrograms, kPrograms,
                directFloor);
    std::printf("phase 2, %d entries none running (one pass each): %.3f s\n", kPrograms,
                Median(absent) - base);
    std::printf("phase 2, %d programs: %.3f s\n", kPrograms, phase2All);
    std::printf("taskkill /im batch, %d programs: %.3f s\n", kPrograms, kill);
    std::printf("ratio phase 2 / floor of one program: %.2f (target <= 1.5)\n", phase2All / floor);
    std::printf("ratio phase 2 / floor of %d direct closes: %.2f (target <= 1.5)\n", kPrograms,
                phase2All / directFloor);
    std::printf("ratio phase 2 / taskkill batch: %.2f (target < 1)\n", phase2All / kill);

    // One EnumerateProcesses pass with 200 processes running.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::vector<HANDLE> crowd;
    for (int i = 0; i < 200; ++i)
        crowd.push_back(Start("\"" + std::string(self) + "\" --idle", false));
    Sleep(3000);  // let them all finish starting
    CountingEnumerator walker;
    walker.LoadHelperLibraries();
    std::vector<double> passes;
    for (int i = 0; i < 20; ++i) {
        walker.m_count = 0;
        const double start = Now();
        walker.EnumerateProcesses();
        passes.push_back(Now() - start);
    }
    std::printf("EnumerateProcesses, %d processes listed: %.3f ms per pass (median of 20)\n", walker.m_count,
                Median(passes) * 1000.0);
    EndAll(crowd);
    return 0;
}
