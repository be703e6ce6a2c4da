// Helpers of the run-journal tests: the journal folder, a controller started in the
// background with its output in a file, and watching that output.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/wine_harness.h"

namespace zt {

// The local application-data folder's Zephlaunch folder, where the controller keeps its
// journals (oldPlace: the roaming one, where earlier builds kept them).
inline std::string JournalFolderPath(bool oldPlace = false)
{
    char appData[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, appData, oldPlace ? CSIDL_APPDATA : CSIDL_LOCAL_APPDATA, TRUE))
        throw std::runtime_error("no application-data folder");
    return std::string(appData) + "\\Zephlaunch";
}

// The journal files that exist now (zephrun_journal.ini, zephrun_journal_2.ini ...).
inline std::vector<std::string> JournalFiles(bool oldPlace = false)
{
    std::vector<std::string> files;
    for (int slot = 1; slot <= 9; ++slot) {
        const std::string path = JournalFolderPath(oldPlace)
                                 + (slot == 1 ? std::string("\\zephrun_journal.ini")
                                              : "\\zephrun_journal_" + std::to_string(slot) + ".ini");
        if (FileExists(path))
            files.push_back(path);
    }
    return files;
}

// The bytes of a file, read with every sharing allowed, so that the controller can go on
// renaming its journal over it meanwhile. Empty when the file is missing.
inline std::string ReadShared(const std::string& path)
{
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string data;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        data.append(buffer, got);
    CloseHandle(file);
    return data;
}

// A controller started with the arguments (each quoted), its output going to outputPath.
class BackgroundController {
public:
    BackgroundController(const std::vector<std::string>& args, const std::string& outputPath)
        : m_output(outputPath)
    {
        if (!StartToFile(ControllerCommandLine(args), outputPath, m_process))
            throw std::runtime_error("cannot start zephrun.exe");
    }
    ~BackgroundController()
    {
        Kill();
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    BackgroundController(const BackgroundController&) = delete;
    BackgroundController& operator=(const BackgroundController&) = delete;

    std::string Output() const { return ReadFileBytes(m_output); }
    // Waits until the output holds text (true) or the process ended or time ran out (false).
    bool WaitForOutput(const std::string& text, DWORD timeoutMs = 60000) const
    {
        for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
            if (Output().find(text) != std::string::npos)
                return true;
            if (WaitForSingleObject(m_process.hProcess, 50) == WAIT_OBJECT_0)
                return Output().find(text) != std::string::npos;
        }
        return false;
    }
    bool Running() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    // Ends the controller abruptly, as a crash or a closed console would.
    void Kill()
    {
        if (Running()) {
            TerminateProcess(m_process.hProcess, 99);
            WaitForSingleObject(m_process.hProcess, 10000);
        }
    }
    // Delivers a console control event the way Windows and Wine do: a thread of the
    // controller's own, started at kernelbase's CtrlRoutine (the only way to a close event,
    // which GenerateConsoleCtrlEvent cannot send). False when the thread cannot be started.
    bool SendConsoleEvent(DWORD event)
    {
        const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernelbase.dll"), "CtrlRoutine")));
        HANDLE thread = routine == nullptr
                            ? nullptr
                            : CreateRemoteThread(m_process.hProcess, nullptr, 0, routine,
                                                 reinterpret_cast<void*>(DWORD_PTR{event}), 0, nullptr);
        if (thread != nullptr)
            CloseHandle(thread);
        return thread != nullptr;
    }
    // Waits for a normal end; returns the exit code (STILL_ACTIVE after the time-out).
    DWORD Finish(DWORD timeoutMs = 120000)
    {
        WaitForSingleObject(m_process.hProcess, timeoutMs);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    std::string m_output;
    PROCESS_INFORMATION m_process;
};

}  // namespace zt
