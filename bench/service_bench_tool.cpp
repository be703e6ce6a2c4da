// Helper of bench/services.sh: installs, times and removes the benchmark's fixture
// services (NAMEPREFIX_1 .. NAMEPREFIX_N) through the Service Control Manager.
//   service_bench_tool install PREFIX N FIXTURE_EXE   create N prompt-stopping services
//   service_bench_tool startseq PREFIX N             start them one after another
//   service_bench_tool stopseq PREFIX N              stop them one after another
//   service_bench_tool remove PREFIX N               stop (if need be) and delete them
// startseq and stopseq wait for each service to reach its state and print the sum of
// those waits in milliseconds ("total_ms=...").
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string ServiceName(const char* prefix, int index)
{
    return std::string(prefix) + "_" + std::to_string(index);
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WaitForState(SC_HANDLE service, DWORD state)
{
    for (int i = 0; i < 30000; ++i) {
        SERVICE_STATUS status = {};
        if (!QueryServiceStatus(service, &status))
            return false;
        if (status.dwCurrentState == state)
            return true;
        Sleep(1);
    }
    return false;
}

int Install(SC_HANDLE manager, const char* prefix, int count, const char* fixture)
{
    for (int i = 1; i <= count; ++i) {
        const std::string name = ServiceName(prefix, i);
        const std::wstring path = Wide(std::string("\"") + fixture + "\" " + name + " prompt");
        SC_HANDLE service =
            CreateServiceW(manager, Wide(name).c_str(), Wide("Zeph Bench " + name).c_str(),
                           SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                           SERVICE_ERROR_IGNORE, path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
        if (service == nullptr) {
            std::fprintf(stderr, "CreateService %s failed, error %lu\n", name.c_str(), GetLastError());
            return 1;
        }
        CloseServiceHandle(service);
    }
    return 0;
}

int Sequence(SC_HANDLE manager, const char* prefix, int count, bool start)
{
    double total = 0;
    int failures = 0;
    for (int i = 1; i <= count; ++i) {
        const std::string name = ServiceName(prefix, i);
        SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
        if (service == nullptr) {
            ++failures;
            continue;
        }
        const double begin = NowMs();
        SERVICE_STATUS status = {};
        const bool asked = start ? StartServiceA(service, 0, nullptr) != 0
                                 : ControlService(service, SERVICE_CONTROL_STOP, &status) != 0;
        const bool reached = asked && WaitForState(service, start ? SERVICE_RUNNING : SERVICE_STOPPED);
        total += NowMs() - begin;
        if (!reached)
            ++failures;
        CloseServiceHandle(service);
    }
    std::printf("total_ms=%.0f failures=%d\n", total, failures);
    return failures == 0 ? 0 : 1;
}

int Remove(SC_HANDLE manager, const char* prefix, int count)
{
    for (int i = 1; i <= count; ++i) {
        SC_HANDLE service = OpenServiceA(manager, ServiceName(prefix, i).c_str(), SERVICE_ALL_ACCESS);
        if (service == nullptr)
            continue;
        SERVICE_STATUS status = {};
        if (ControlService(service, SERVICE_CONTROL_STOP, &status))
            WaitForState(service, SERVICE_STOPPED);
        DeleteService(service);
        CloseServiceHandle(service);
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: service_bench_tool install|startseq|stopseq|remove PREFIX N [FIXTURE_EXE]\n");
        return 2;
    }
    const char* command = argv[1];
    const char* prefix = argv[2];
    const int count = std::atoi(argv[3]);
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) {
        std::fprintf(stderr, "OpenSCManager failed, error %lu\n", GetLastError());
        return 1;
    }
    int result = 2;
    if (std::strcmp(command, "install") == 0 && argc >= 5)
        result = Install(manager, prefix, count, argv[4]);
    if (std::strcmp(command, "startseq") == 0)
        result = Sequence(manager, prefix, count, true);
    if (std::strcmp(command, "stopseq") == 0)
        result = Sequence(manager, prefix, count, false);
    if (std::strcmp(command, "remove") == 0)
        result = Remove(manager, prefix, count);
    CloseServiceHandle(manager);
    return result;
}
