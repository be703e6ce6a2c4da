// Helpers for the phase 2 and 9 tests: instances of fixture_window.exe under names of the
// test's own, profiles with a [Programs] section, and the transcript of a whole run in
// which only phases 2 and 9 have something to say.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/wine_harness.h"

namespace zt {

// Exit code with which fixture_window.exe ends after WM_CLOSE; a terminated instance
// ends with the controller's code 0.
constexpr DWORD kFixtureClosedItself = 7;

// One running instance of fixture_window.exe (copied under exeName into a folder).
class FixtureProgram {
public:
    // Starts exePath with the options and waits until it is ready to be closed (its window
    // exists). Throws when it does not get ready.
    FixtureProgram(const std::string& exePath, const std::string& options)
    {
        static LONG counter = 0;
        char eventName[96];
        std::snprintf(eventName, sizeof eventName, "zeph_fixture_ready_%lu_%ld", GetCurrentProcessId(),
                      InterlockedIncrement(&counter));
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, eventName);
        if (ready == nullptr)
            throw std::runtime_error("CreateEvent failed");
        m_process =
            StartProgram("\"" + exePath + "\" --ready " + eventName + (options.empty() ? "" : " " + options));
        if (m_process == nullptr) {
            CloseHandle(ready);
            throw std::runtime_error("cannot start " + exePath);
        }
        HANDLE waitFor[2] = {ready, m_process};
        const DWORD woke = WaitForMultipleObjects(2, waitFor, FALSE, 30000);
        CloseHandle(ready);
        if (woke != WAIT_OBJECT_0) {
            TerminateProcess(m_process, 1);
            throw std::runtime_error("fixture did not get ready: " + exePath + " " + options
                                     + " (no window could be created?)");
        }
        m_id = GetProcessId(m_process);
    }
    ~FixtureProgram()
    {
        if (m_process == nullptr)
            return;
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 5000);
        }
        CloseHandle(m_process);
    }
    FixtureProgram(const FixtureProgram&) = delete;
    FixtureProgram& operator=(const FixtureProgram&) = delete;

    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process; }
    bool Running() const { return WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }
    // The exit code once ended (waits up to timeoutMs); STILL_ACTIVE while it runs.
    DWORD ExitCode(DWORD timeoutMs = 5000) const
    {
        WaitForSingleObject(m_process, timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process, &code);
        return code;
    }

private:
    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

// Kills every process of the given names when the test ends, also when it fails half-way
// (for instance instances that phase 9 started).
class ProcessCleanup {
public:
    explicit ProcessCleanup(std::vector<std::string> names) : m_names(std::move(names)) {}
    ~ProcessCleanup()
    {
        for (const std::string& name : m_names)
            KillProcesses(name);
    }
    ProcessCleanup(const ProcessCleanup&) = delete;
    ProcessCleanup& operator=(const ProcessCleanup&) = delete;

private:
    std::vector<std::string> m_names;
};

// A profile text: [Configuration] with the given lines, then [Programs] with the given entries.
inline std::string ProgramsProfile(const std::vector<std::string>& configuration,
                                   const std::vector<std::string>& programs)
{
    std::string text = "[Configuration]\r\n";
    for (const std::string& line : configuration)
        text += line + "\r\n";
    text += "[Programs]\r\n";
    for (const std::string& line : programs)
        text += line + "\r\n";
    return text;
}

// The messages of a whole run of a profile without main application, services or options,
// around the lines of phase 2 and phase 9.
inline std::vector<std::string> RunMessages(const std::string& profilePath,
                                            const std::vector<std::string>& phase2,
                                            const std::vector<std::string>& phase9, bool windows9x = false)
{
    RunPhases phases;
    phases.phase2 = phase2;
    if (windows9x)
        phases.phase3 = phases.phase8 = {"\r\n...skipping since OS is Windows 9x/ME"};
    phases.phase9 = phase9;
    return WholeRunMessages(profilePath, phases);
}

// Runs the controller (or a copy of it) on a profile and returns its normalised output.
// The output goes to a file rather than a pipe: programs that phase 9 starts may be handed
// the controller's standard handles, and would keep a pipe open after the controller ended.
inline std::string RunProfile(const std::string& profilePath,
                              const std::string& controllerPath = std::string(), DWORD timeoutMs = 120000)
{
    const std::string outputPath = profilePath + ".out";
    PROCESS_INFORMATION process;
    if (!StartToFile(ControllerCommandLine({profilePath}, controllerPath), outputPath, process))
        throw std::runtime_error("cannot start the controller for " + profilePath);
    RunResult result;
    FinishProcess(process, timeoutMs, result);
    const std::string text = ReadFileBytes(outputPath);
    return result.timedOut ? "<timed out>\n" + text : NormalizeMemoryFigures(text);
}

// The transcript with the lines of phase 2 (between its heading and phase 3's) sorted:
// the threads of different entries print in no fixed order. Sort the expected phase 2
// messages the same way (std::sort of the message texts).
inline std::string WithPhase2Sorted(const std::string& transcript)
{
    const std::string begin = TextMode("\r\nPhase 2:  Stopping Programs");
    const std::string end = TextMode("\r\nPhase 3: Stopping Services");
    const size_t from = transcript.find(begin);
    const size_t to = transcript.find(end);
    if (from == std::string::npos || to == std::string::npos || to < from)
        return transcript;
    const std::string separator = TextMode("\r\n");
    const size_t bodyStart = from + begin.size();
    const std::string body = transcript.substr(bodyStart, to - bodyStart);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < body.size()) {
        size_t next = body.find(separator, start + 1);
        if (next == std::string::npos)
            next = body.size();
        lines.push_back(body.substr(start, next - start));
        start = next;
    }
    std::sort(lines.begin(), lines.end());
    std::string sorted = transcript.substr(0, bodyStart);
    for (const std::string& line : lines)
        sorted += line;
    return sorted + transcript.substr(to);
}

inline std::vector<std::string> Sorted(std::vector<std::string> messages)
{
    std::sort(messages.begin(), messages.end());
    return messages;
}

}  // namespace zt
