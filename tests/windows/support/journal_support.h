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

// A controller (or the one at controllerPath) started with the arguments (each quoted), its output going to
// outputPath.
class BackgroundController {
public:
    BackgroundController(const std::vector<std::string>& args, const std::string& outputPath,
                         const std::string& controllerPath = "")
        : m_output(outputPath)
    {
        if (!StartToFile(ControllerCommandLine(args, controllerPath), outputPath, m_process))
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
    // Tells the run's hidden window that the session ends, as Windows does at sign-out and
    // shutdown. False when the run has no such window.
    bool EndSession()
    {
        HWND window = nullptr;
        while ((window = FindWindowExA(nullptr, window, "ZephrunSessionEnd", nullptr)) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == m_process.dwProcessId)
                return PostMessageA(window, WM_ENDSESSION, TRUE, 0) != FALSE;
        }
        return false;
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

// A copy of zephrun.exe in folder beside the stand-in powrprof.dll (bin/standin), which plays
// the power plans of powrprof.ini (see tests/fixtures/powrprof). Wine's own keeps no plan;
// programs named zp_zephrun.exe load a powrprof.dll of their folder first (Wine's
// per-program DllOverrides).
struct StandInPower {
    StandInPower(const TempFolder& folder, const std::string& ini)
        : controller(CopyBinaryAs("zephrun.exe", folder.Path(), "zp_zephrun.exe")),
          file(folder.File("powrprof.ini"))
    {
        CopyFileA(BinPath("standin\\powrprof.dll").c_str(), folder.File("powrprof.dll").c_str(), FALSE);
        WriteFileBytes(file, ini);
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\zp_zephrun.exe\\DllOverrides", 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr)
            == ERROR_SUCCESS) {
            RegSetValueExA(key, "powrprof", 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
            RegCloseKey(key);
        }
    }
    std::string State(const char* key) const
    {
        char value[64] = "";
        GetPrivateProfileStringA("State", key, "", value, sizeof value, file.c_str());
        return value;
    }
    void SetState(const char* key, const std::string& value) const
    {
        WritePrivateProfileStringA("State", key, value.c_str(), file.c_str());
    }
    std::string controller;
    std::string file;
};
constexpr char kBalanced[] = "381b4222-f694-41f0-9685-ff5bb260df2e";
constexpr char kHighPerformance[] = "8c5e7fda-e8bf-4a96-9a85-a6e23a8c635c";
constexpr char kPowerSaver[] = "a1841308-3541-4fab-bc81-f71556f20b4a";

// The screen saver's state for the session, as a program started now sees it (Wine keeps
// the value a program has read or set, so the test's own reading would not change), and
// setting it the way the controller does, without writing the user's settings.
inline bool ScreenSaverActive()
{
    const std::string report = BinPath("screensaver.report");
    DeleteFileA(report.c_str());
    HANDLE query = StartProgram("\"" + BinPath("fixture_mainapp.exe") + "\" --query-screensaver --report \""
                                + report + "\"");
    if (query != nullptr) {
        WaitForSingleObject(query, 30000);
        CloseHandle(query);
    }
    return ReadFileBytes(report).find("screensaver=1") != std::string::npos;
}
// Wine's desktop process sets the screen saver from the user's settings as it starts: it is
// started here, before the value is set, where a controller's window would start it later.
inline void SetScreenSaverActive(bool active)
{
    GetDesktopWindow();
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0);
}

}  // namespace zt
