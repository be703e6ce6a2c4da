// Fixture services for the service tests: fixture_service.exe installed into the test
// prefix under a name unique to the test process, and removed again (stopped, its
// process ended if it hangs, deleted) when the object goes out of scope, whatever the
// test's outcome.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/wine_harness.h"

namespace zt {

// base_<pid>_<counter>: never the same in two tests or two test processes.
inline std::string UniqueServiceName(const std::string& base)
{
    static LONG counter = 0;
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, "_%lu_%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
    return base + suffix;
}

class ScmHandle {
public:
    explicit ScmHandle(SC_HANDLE handle = nullptr) : m_handle(handle) {}
    ~ScmHandle()
    {
        if (m_handle != nullptr)
            CloseServiceHandle(m_handle);
    }
    ScmHandle(const ScmHandle&) = delete;
    ScmHandle& operator=(const ScmHandle&) = delete;
    SC_HANDLE Get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    SC_HANDLE m_handle;
};

inline SC_HANDLE OpenManager()
{
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr)
        throw std::runtime_error("OpenSCManager failed");
    return manager;
}

// The current state of any service by key name (0 when it cannot be read).
inline DWORD ServiceState(const std::string& name)
{
    ScmHandle manager(OpenManager());
    ScmHandle service(OpenServiceA(manager.Get(), name.c_str(), SERVICE_QUERY_STATUS));
    if (!service)
        return 0;
    SERVICE_STATUS status = {};
    if (!QueryServiceStatus(service.Get(), &status))
        return 0;
    return status.dwCurrentState;
}

// Polls until the service is in state (or the bound passes); returns the last state.
inline DWORD WaitForServiceState(const std::string& name, DWORD state, DWORD boundMs = 30000)
{
    DWORD current = ServiceState(name);
    for (DWORD waited = 0; current != state && waited < boundMs; waited += 100) {
        Sleep(100);
        current = ServiceState(name);
    }
    return current;
}

// Starts a service and waits until it runs; returns the final state.
inline DWORD StartAndWait(const std::string& name)
{
    {
        ScmHandle manager(OpenManager());
        ScmHandle service(OpenServiceA(manager.Get(), name.c_str(), SERVICE_START | SERVICE_QUERY_STATUS));
        if (!service)
            return 0;
        if (!StartServiceA(service.Get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
            return 0;
    }
    return WaitForServiceState(name, SERVICE_RUNNING);
}

// Stops a service and waits until it has stopped (not when it refuses); returns the
// final state.
inline DWORD StopAndWait(const std::string& name)
{
    {
        ScmHandle manager(OpenManager());
        ScmHandle service(OpenServiceA(manager.Get(), name.c_str(), SERVICE_STOP));
        if (!service)
            return 0;
        SERVICE_STATUS status = {};
        if (!ControlService(service.Get(), SERVICE_CONTROL_STOP, &status))
            return ServiceState(name);  // refused
    }
    return WaitForServiceState(name, SERVICE_STOPPED);
}

// The display name the manager reports for a service (the key name when none is read).
inline std::string ServiceDisplayName(const std::string& name)
{
    ScmHandle manager(OpenManager());
    char displayName[512];
    DWORD size = sizeof displayName;
    if (!GetServiceDisplayNameA(manager.Get(), name.c_str(), displayName, &size))
        return name;
    return displayName;
}

// The messages of a whole run on the NT family whose profile asks only for services:
// the start-up lines, the phases with phase3 and phase8 after their headings.
inline std::vector<std::string> ServiceRunMessages(const std::string& profilePath,
                                                   const std::vector<std::string>& phase3,
                                                   const std::vector<std::string>& phase8)
{
    RunPhases phases;
    phases.phase3 = phase3;
    phases.phase8 = phase8;
    return WholeRunMessages(profilePath, phases);
}

// A profile text with a [Services] section of the given key=value lines.
inline std::string ServicesProfile(const std::vector<std::pair<std::string, std::string>>& entries)
{
    std::string text = "[Configuration]\r\ndescription=service test\r\n[Services]\r\n";
    for (const auto& entry : entries)
        text += entry.first + "=" + entry.second + "\r\n";
    return text;
}

// Sorts the lines of a transcript between two heading lines (exclusive), so that runs
// whose worker threads print in any order compare equal. Lines are split before each
// text-mode line break (CR CR LF).
inline std::string SortLinesBetween(const std::string& transcript, const std::string& fromHeading,
                                    const std::string& toHeading)
{
    const std::string from = TextMode(fromHeading);
    const std::string to = TextMode(toHeading);
    const size_t start = transcript.find(from);
    if (start == std::string::npos)
        return transcript;
    const size_t bodyStart = start + from.size();
    const size_t end = transcript.find(to, bodyStart);
    if (end == std::string::npos)
        return transcript;
    std::vector<std::string> lines;
    const std::string breakBytes = "\r\r\n";
    size_t position = bodyStart;
    while (position < end) {
        size_t next = transcript.find(breakBytes, position + 1);
        if (next == std::string::npos || next > end)
            next = end;
        lines.push_back(transcript.substr(position, next - position));
        position = next;
    }
    std::sort(lines.begin(), lines.end());
    std::string sorted = transcript.substr(0, bodyStart);
    for (const std::string& line : lines)
        sorted += line;
    return sorted + transcript.substr(end);
}

// Plain ASCII text as a wide string (service names and paths of the tests are ASCII).
inline std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class FixtureService {
public:
    // arguments: the fixture's mode and its numbers ("prompt", "slow 6 1000 2000"...).
    FixtureService(const std::string& base, const std::string& arguments,
                   const std::vector<std::string>& dependencies = {})
        : m_name(UniqueServiceName(base)), m_displayName("Zeph Fixture " + m_name)
    {
        // Created through the wide-character call: Wine's CreateServiceA keeps only the first
        // name of a dependency list.
        const std::wstring binaryPath =
            Wide("\"" + BinPath("fixture_service.exe") + "\" " + m_name + " " + arguments);
        std::wstring dependencyList;
        for (const std::string& dependency : dependencies)
            dependencyList += Wide(dependency) + L'\0';
        dependencyList += L'\0';
        ScmHandle manager(OpenManager());
        ScmHandle service(CreateServiceW(
            manager.Get(), Wide(m_name).c_str(), Wide(m_displayName).c_str(), SERVICE_ALL_ACCESS,
            SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, binaryPath.c_str(),
            nullptr, nullptr, dependencies.empty() ? nullptr : dependencyList.c_str(), nullptr, nullptr));
        if (!service) {
            char text[160];
            std::snprintf(text, sizeof text, "CreateService %s failed, error %lu", m_name.c_str(),
                          GetLastError());
            throw std::runtime_error(text);
        }
    }
    ~FixtureService() { Remove(); }
    FixtureService(const FixtureService&) = delete;
    FixtureService& operator=(const FixtureService&) = delete;

    const std::string& Name() const { return m_name; }
    const std::string& DisplayName() const { return m_displayName; }
    DWORD State() const { return ServiceState(m_name); }
    DWORD Start() const { return StartAndWait(m_name); }

    // Stops the service (ending its process when it does not stop) and deletes it.
    void Remove()
    {
        if (m_removed)
            return;
        m_removed = true;
        ScmHandle manager(OpenManager());
        ScmHandle service(OpenServiceA(manager.Get(), m_name.c_str(), SERVICE_ALL_ACCESS));
        if (!service)
            return;
        SERVICE_STATUS_PROCESS status = {};
        DWORD needed = 0;
        if (QueryServiceStatusEx(service.Get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                                 sizeof status, &needed)
            && status.dwCurrentState != SERVICE_STOPPED) {
            SERVICE_STATUS plain = {};
            ControlService(service.Get(), SERVICE_CONTROL_STOP, &plain);
            if (WaitForServiceState(m_name, SERVICE_STOPPED, 3000) != SERVICE_STOPPED
                && status.dwProcessId != 0) {
                HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, status.dwProcessId);
                if (process != nullptr) {
                    TerminateProcess(process, 1);
                    WaitForSingleObject(process, 10000);
                    CloseHandle(process);
                }
                // Wine's manager may go on showing the old state; deleting is enough.
            }
        }
        DeleteService(service.Get());
    }

private:
    std::string m_name;
    std::string m_displayName;
    bool m_removed = false;
};

}  // namespace zt
