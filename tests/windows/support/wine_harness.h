// Helpers shared by the Windows end-to-end tests: temporary folders, exact file bytes,
// running zephrun.exe (or any program) under a watchdog with its output captured, and
// the per-executable Windows version that Wine reports.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace zt {

// The controller's first line, with the project's version.
constexpr char kBanner[] = "Zephlaunch Control Program " ZEPH_PROJECT_VERSION;

// Folder of the running test executable; zephrun.exe and the fixtures lie beside it.
std::string BinDir();
std::string BinPath(const std::string& fileName);

// A fresh folder under %TEMP%, removed with everything in it on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);  // empty when missing
bool FileExists(const std::string& path);
// Waits for a file that another process writes: polls until complete(text) holds for
// what the file holds, or the deadline passes; returns what it held last (empty when
// it never appeared). Existence alone is not enough: a writer creates the file first.
std::string WaitForFileText(const std::string& path, const std::function<bool(const std::string&)>& complete,
                            DWORD deadlineMs = 10000);
void RemoveTree(const std::string& path);

// What a program printed and how it ended.
struct RunResult {
    std::string output;  // standard output and error, byte for byte
    DWORD exitCode = 0;
    bool timedOut = false;  // the watchdog ended it
};

struct RunOptions {
    std::string workDir;       // empty: the bin folder
    DWORD timeoutMs = 60000;   // watchdog; the process is terminated after this
    bool withConsole = false;  // share the test's console (key waits then read it)
    std::string keysToType;    // typed into the console once the output shows typeWhenSeen
    std::string typeWhenSeen = "Press any key to continue...";
    std::string controllerPath;  // RunController: another copy of zephrun.exe (empty: the built one)
};

// The command line that runs zephrun.exe (or options.controllerPath) with the arguments, each quoted.
std::string ControllerCommandLine(const std::vector<std::string>& args,
                                  const std::string& controllerPath = "");

// Building blocks of the runs below. StartWithHandles starts a command line with the
// given (inheritable) standard handles; false with the error left in GetLastError.
bool StartWithHandles(const std::string& commandLine, HANDLE input, HANDLE output, DWORD flags,
                      const std::string& workDir, PROCESS_INFORMATION& process);
// Starts a command line detached in the bin folder, input from NUL, standard output and
// error into the file outputPath (created anew).
bool StartToFile(const std::string& commandLine, const std::string& outputPath, PROCESS_INFORMATION& process);
// Waits for a started process under the watchdog of timeoutMs. With keys, they are typed
// once promptShown() says the program asks for them. Fills timedOut and exitCode and
// closes the process handles.
template <typename PromptShown>
void AwaitProcess(PROCESS_INFORMATION& process, DWORD timeoutMs, const std::string& keys,
                  PromptShown promptShown, RunResult& result);

// Runs zephrun.exe with the given arguments (each quoted) and waits for it.
RunResult RunController(const std::vector<std::string>& args, const RunOptions& options = RunOptions());
// Runs any command line with standard output and error captured.
RunResult RunCommand(const std::string& commandLine, const RunOptions& options = RunOptions());

// The console of the test process (created on first use) and helpers to feed keys.
void EnsureConsole();
void TypeKeys(const std::string& keys);
DWORD PendingConsoleInputEvents();

// a's messages followed by b's.
std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b);
// Turns message texts into what a text-mode stream stores: every "\n" becomes "\r\n".
std::string TextMode(const std::string& text);
// Joins messages and converts them with TextMode.
std::string Transcript(const std::vector<std::string>& messages);
// What the log file holds of a run: its transcript without the banner line.
std::string WithoutBanner(std::vector<std::string> messages);
// Replaces the figures of the free-memory lines with <bytes> and <MB>.
std::string NormalizeMemoryFigures(const std::string& text);

// The controller's start-up lines for a profile path, as a transcript of messages
// (banner, "Using ini file", the start memory line with placeholders).
std::vector<std::string> StartupMessages(const std::string& profilePath);

// What a whole run prints after each phase heading. The defaults are those of a profile
// with phases 1 and 4 off, nothing in [Programs] or [Services] and no main application.
struct RunPhases {
    std::vector<std::string> phase1 = {"\r\nSkipping Phase 1: Forcing Idle tasks to execute - not enabled"};
    std::vector<std::string> phase2;
    std::vector<std::string> phase3;
    std::vector<std::string> phase4 = {"\r\nPhase 4: Defragmenting memory...skipping"};
    std::vector<std::string> phase5to7 = {
        "\r\nERROR: Main Application program path is not set!  Please run Zephlaunch to configure...",
        "\r\nPhase 5:  Skipping...", "\r\nPhase 6:  Skipping...", "\r\nPhase 7:  Skipping..."};
    std::vector<std::string> phase8;
    std::vector<std::string> phase9;
};
// The messages of a whole run: the start-up lines, then every phase heading with its lines.
std::vector<std::string> WholeRunMessages(const std::string& profilePath, const RunPhases& phases);

// Phase 4's lines for this machine: a block per 10 MiB of physical memory and the final
// block, up to the 356-block cap. A 32-bit controller can run out of address space first (at
// 2 GB on 32-bit Windows; large-address-aware on 64-bit Windows, where 32-bit Wine shares the
// 4 GB with its own libraries, somewhat less than 4 GB): when its output says so, the lines
// end with that block and the error line, and *shortAtBlock (if given) is that block's number,
// else 0. So do they where the commit limit leaves too little for other programs.
std::vector<std::string> DefragPhaseMessages(const std::string& output, int* shortAtBlock = nullptr);

// Sets the Windows version Wine reports to one executable (win98, nt40, win2k, winxp,
// win10...) and removes the setting again on destruction.
class ScopedWineVersion {
public:
    ScopedWineVersion(const std::string& exeName, const std::string& version);
    ~ScopedWineVersion();
    ScopedWineVersion(const ScopedWineVersion&) = delete;
    ScopedWineVersion& operator=(const ScopedWineVersion&) = delete;

private:
    std::string m_keyPath;
};

// Sets a DLL override for one executable (an empty value disables the DLL) and removes it again.
class ScopedDllDisabled {
public:
    ScopedDllDisabled(const std::string& exeName, const std::string& dll)
        : m_keyPath("Software\\Wine\\AppDefaults\\" + exeName + "\\DllOverrides"), m_dll(dll)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr)
            == ERROR_SUCCESS) {
            RegSetValueExA(key, m_dll.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
            RegCloseKey(key);
        }
    }
    ~ScopedDllDisabled() { RegDeleteKeyA(HKEY_CURRENT_USER, m_keyPath.c_str()); }

private:
    std::string m_keyPath;
    std::string m_dll;
};

// Copies zephrun.exe (or any file of the bin folder) into folder under a new file name and
// returns the copy's path. Tests that steer the Windows version use their own copy so
// that tests running at the same time are not affected.
std::string CopyBinaryAs(const std::string& binFileName, const std::string& folder,
                         const std::string& newName);

// Wall-clock time since construction, for checking that a delay really passed. Bounds are
// generous above: the machine running the tests may be busy.
class Stopwatch {
public:
    Stopwatch() : m_start(GetTickCount()) {}
    DWORD ElapsedMs() const { return GetTickCount() - m_start; }

private:
    DWORD m_start;
};
// Slack allowed above an expected delay for the start-up and phases of a run.
constexpr DWORD kRunSlackMs = 8000;

// The shell-restart value (HKLM Winlogon AutoRestartShell), -1 when it is missing. The shell
// reads it in the system's own view of the registry (on 64-bit Windows the 64-bit one, also
// from a 32-bit test); 32-bit programs see a copy of their own (KEY_WOW64_32KEY) unless they
// ask for it. Writing -1 deletes the value.
constexpr char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
long ReadShellRestart(REGSAM view = KEY_WOW64_64KEY);
bool WriteShellRestart(long value, REGSAM view = KEY_WOW64_64KEY);

// The i686 build of zephrun.exe as a Windows path, or empty when it was not built.
std::string I686ControllerPath();
// The error code CreateProcessA gives for a command line, found by trying it here (created
// suspended and ended again at once); 0 when it starts.
DWORD CreateProcessError(const std::string& commandLine);
// Whether a program can be started here at all (for instance a 32-bit one without wine32).
inline bool CanRunProgram(const std::string& path) { return CreateProcessError("\"" + path + "\"") == 0; }

// Processes by executable file name (case-insensitive), through Toolhelp; with a parent,
// only its children.
std::vector<DWORD> FindProcesses(const std::string& exeName, DWORD parentId = 0);
// Terminates every process with that name (clean-up after a test).
void KillProcesses(const std::string& exeName);

// Starts a program detached (no waiting); returns its process handle or null.
HANDLE StartProgram(const std::string& commandLine, const std::string& workDir = std::string());
// The id of a process that has ended (a journal's dead run).
DWORD DeadProcessId();
// Waits for the one-line record a started program writes (with one write as it closes the
// file: any text is the whole record); empty when none came within the ten seconds.
std::string WaitForFile(const std::string& path);

void FinishProcess(PROCESS_INFORMATION& process, DWORD remainingMs, RunResult& result);

template <typename PromptShown>
void AwaitProcess(PROCESS_INFORMATION& process, DWORD timeoutMs, const std::string& keys,
                  PromptShown promptShown, RunResult& result)
{
    DWORD waited = 0;
    if (!keys.empty()) {
        // Keys are typed once the program asks for them, as a person would.
        while (waited < timeoutMs && !promptShown()
               && WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT) {
            waited += 50;
        }
        if (promptShown())
            TypeKeys(keys);
    }
    FinishProcess(process, waited < timeoutMs ? timeoutMs - waited : 0, result);
}

}  // namespace zt
