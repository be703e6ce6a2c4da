#include "support/wine_harness.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <stdexcept>
#include <mutex>
#include <thread>

namespace zt {

namespace {

std::string QuoteArgument(const std::string& arg) { return "\"" + arg + "\""; }

std::string LastErrorText(const char* what)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s failed, error %lu", what, GetLastError());
    return text;
}

// Reads what a process writes to a pipe, on a thread of its own so a chatty child never
// blocks, until the process has ended and all it wrote is read. The pipe's end is not
// waited for: Wine hands the desktop process it starts for the first program that needs
// windows (the controller's hidden one, say) that program's standard error, and the
// desktop keeps it while other programs use the desktop. An anonymous pipe cannot be
// waited on, so it is looked at again whenever 20 ms of waiting for the process pass.
class PipeReader {
public:
    // The reader keeps a handle of its own to the process.
    PipeReader(HANDLE pipe, HANDLE process)
        : m_pipe(pipe), m_process(Duplicate(process)), m_thread([this] { Run(); })
    {}
    ~PipeReader()
    {
        if (m_thread.joinable())
            m_thread.join();
        if (m_process != nullptr)
            CloseHandle(m_process);
    }
    bool Contains(const std::string& text)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_data.find(text) != std::string::npos;
    }
    std::string Take()
    {
        m_thread.join();
        return m_data;
    }

private:
    static HANDLE Duplicate(HANDLE process)
    {
        HANDLE own = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), process, GetCurrentProcess(), &own, SYNCHRONIZE, FALSE, 0))
            throw std::runtime_error(LastErrorText("DuplicateHandle"));
        return own;
    }
    void Run()
    {
        char buffer[4096];
        for (;;) {
            // Seen ended before the look at the pipe: everything it wrote is in the pipe by then.
            const bool ended = WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
            DWORD available = 0;
            if (!PeekNamedPipe(m_pipe, nullptr, 0, nullptr, &available, nullptr))
                return;  // every writer is gone
            if (available == 0) {
                if (ended)
                    return;
                WaitForSingleObject(m_process, 20);
                continue;
            }
            DWORD got = 0;
            if (!ReadFile(m_pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got,
                          nullptr)
                || got == 0)
                return;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_data.append(buffer, got);
        }
    }
    HANDLE m_pipe;
    HANDLE m_process;
    std::mutex m_mutex;
    std::string m_data;
    std::thread m_thread;
};

}  // namespace

std::string BinDir()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return ".";
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string BinPath(const std::string& fileName) { return BinDir() + "\\" + fileName; }

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    DWORD length = GetTempPathA(sizeof base, base);
    std::string root =
        (length == 0 || length >= sizeof base) ? std::string("C:\\") : std::string(base, length);
    static LONG counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[96];
        std::snprintf(name, sizeof name, "zeph_%lu_%lu_%ld", GetCurrentProcessId(), GetTickCount(),
                      InterlockedIncrement(&counter));
        std::string candidate = root + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error(LastErrorText("CreateDirectory"));
}

TempFolder::~TempFolder() { RemoveTree(m_path); }

void RemoveTree(const std::string& path)
{
    if (path.empty())
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0)
                continue;
            std::string child = path + "\\" + found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string ReadFileBytes(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return std::string();
    std::string data;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        data.append(buffer, got);
    std::fclose(file);
    return data;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string WaitForFileText(const std::string& path, const std::function<bool(const std::string&)>& complete,
                            DWORD deadlineMs)
{
    const DWORD start = GetTickCount();
    std::string text = ReadFileBytes(path);
    while (!complete(text) && GetTickCount() - start < deadlineMs) {
        Sleep(20);
        text = ReadFileBytes(path);
    }
    return text;
}

void EnsureConsole()
{
    HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (input != INVALID_HANDLE_VALUE) {
        CloseHandle(input);
        return;
    }
    // Started without a usable console (output to a pipe): make one of our own. Under
    // Wine it accepts written key events only where a display exists.
    FreeConsole();
    if (!AllocConsole())
        throw std::runtime_error(LastErrorText("AllocConsole"));
    // Wine's console host needs a moment before its input buffer takes events; a child
    // started earlier would find no console input at all.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE ready = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD events = 0;
        const bool usable = ready != INVALID_HANDLE_VALUE && GetNumberOfConsoleInputEvents(ready, &events)
                            && FlushConsoleInputBuffer(ready);
        if (ready != INVALID_HANDLE_VALUE)
            CloseHandle(ready);
        if (usable) {
            Sleep(500);
            return;
        }
        Sleep(50);
    }
    throw std::runtime_error("the console never became ready");
}

static HANDLE ConsoleInput()
{
    return CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

void TypeKeys(const std::string& keys)
{
    EnsureConsole();
    HANDLE input = ConsoleInput();
    if (input == INVALID_HANDLE_VALUE)
        throw std::runtime_error(LastErrorText("open CONIN$"));
    for (char key : keys) {
        INPUT_RECORD records[2];
        std::memset(records, 0, sizeof records);
        for (int i = 0; i < 2; ++i) {
            records[i].EventType = KEY_EVENT;
            records[i].Event.KeyEvent.bKeyDown = i == 0;
            records[i].Event.KeyEvent.wRepeatCount = 1;
            records[i].Event.KeyEvent.wVirtualKeyCode = static_cast<WORD>(VkKeyScanA(key) & 0xff);
            records[i].Event.KeyEvent.uChar.AsciiChar = key;
        }
        DWORD written = 0;
        if (!WriteConsoleInputA(input, records, 2, &written)) {
            CloseHandle(input);
            throw std::runtime_error(LastErrorText("WriteConsoleInput"));
        }
    }
    CloseHandle(input);
}

DWORD PendingConsoleInputEvents()
{
    HANDLE input = ConsoleInput();
    if (input == INVALID_HANDLE_VALUE)
        return 0;
    DWORD count = 0;
    GetNumberOfConsoleInputEvents(input, &count);
    CloseHandle(input);
    return count;
}

RunResult RunCommand(const std::string& commandLine, const RunOptions& options)
{
    // The console first: a console host started while the pipe exists would inherit
    // its write end and the output would never reach its end.
    if (options.withConsole)
        EnsureConsole();
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        throw std::runtime_error(LastErrorText("CreatePipe"));
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    HANDLE input = INVALID_HANDLE_VALUE;
    if (options.withConsole) {
        input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            &inherit, OPEN_EXISTING, 0, nullptr);
    } else {
        input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                            0, nullptr);
    }

    PROCESS_INFORMATION process;
    const std::string workDir = options.workDir.empty() ? BinDir() : options.workDir;
    const DWORD flags = options.withConsole ? 0 : DETACHED_PROCESS;
    const bool started = StartWithHandles(commandLine, input, writeEnd, flags, workDir, process);
    const std::string startError = started ? std::string() : LastErrorText("CreateProcess");
    CloseHandle(writeEnd);
    if (input != INVALID_HANDLE_VALUE)
        CloseHandle(input);
    if (!started) {
        CloseHandle(readEnd);
        throw std::runtime_error(startError + " for " + commandLine);
    }

    PipeReader reader(readEnd, process.hProcess);
    RunResult result;
    const std::string keys = options.withConsole ? options.keysToType : std::string();
    AwaitProcess(
        process, options.timeoutMs, keys, [&] { return reader.Contains(options.typeWhenSeen); }, result);
    result.output = reader.Take();
    CloseHandle(readEnd);
    return result;
}

bool StartWithHandles(const std::string& commandLine, HANDLE input, HANDLE output, DWORD flags,
                      const std::string& workDir, PROCESS_INFORMATION& process)
{
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::memset(&process, 0, sizeof process);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &startup, &process)
           != FALSE;
}

bool StartToFile(const std::string& commandLine, const std::string& outputPath, PROCESS_INFORMATION& process)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output =
        CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    const bool started = output != INVALID_HANDLE_VALUE && input != INVALID_HANDLE_VALUE
                         && StartWithHandles(commandLine, input, output, DETACHED_PROCESS, BinDir(), process);
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    if (input != INVALID_HANDLE_VALUE)
        CloseHandle(input);
    return started;
}

void FinishProcess(PROCESS_INFORMATION& process, DWORD remainingMs, RunResult& result)
{
    if (WaitForSingleObject(process.hProcess, remainingMs) == WAIT_TIMEOUT) {
        result.timedOut = true;
        TerminateProcess(process.hProcess, 999);
        WaitForSingleObject(process.hProcess, 5000);
    }
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

std::string ControllerCommandLine(const std::vector<std::string>& args, const std::string& controllerPath)
{
    std::string commandLine = QuoteArgument(controllerPath.empty() ? BinPath("zephrun.exe") : controllerPath);
    for (const std::string& arg : args)
        commandLine += " " + QuoteArgument(arg);
    return commandLine;
}

RunResult RunController(const std::vector<std::string>& args, const RunOptions& options)
{
    return RunCommand(ControllerCommandLine(args, options.controllerPath), options);
}

std::string TextMode(const std::string& text)
{
    std::string converted;
    converted.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        if (c == '\n')
            converted += '\r';
        converted += c;
    }
    return converted;
}

std::string Transcript(const std::vector<std::string>& messages)
{
    std::string joined;
    for (const std::string& message : messages)
        joined += message;
    return TextMode(joined);
}

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string WithoutBanner(std::vector<std::string> messages)
{
    if (!messages.empty())
        messages.erase(messages.begin());
    return Transcript(messages);
}

std::string NormalizeMemoryFigures(const std::string& text)
{
    static const std::regex figures(
        "(Free physical memory at (start|end): )[0-9]+ bytes \\( *[0-9]+\\.[0-9]{2} MB\\)");
    return std::regex_replace(text, figures, "$1<bytes> bytes (<MB> MB)");
}

std::vector<std::string> StartupMessages(const std::string& profilePath)
{
    return {std::string("\r\n") + kBanner, "\r\nUsing ini file: " + profilePath,
            "\r\nFree physical memory at start: <bytes> bytes (<MB> MB)"};
}

std::vector<std::string> WholeRunMessages(const std::string& profilePath, const RunPhases& phases)
{
    std::vector<std::string> messages = StartupMessages(profilePath);
    auto add = [&](const char* heading, const std::vector<std::string>& lines) {
        messages.push_back(heading);
        messages.insert(messages.end(), lines.begin(), lines.end());
    };
    add("\r\nPhase 1: Forcing Idle tasks to execute.", phases.phase1);
    add("\r\nPhase 2:  Stopping Programs", phases.phase2);
    add("\r\nPhase 3: Stopping Services", phases.phase3);
    messages.insert(messages.end(), phases.phase4.begin(), phases.phase4.end());
    messages.push_back("\r\nFree physical memory at end: <bytes> bytes (<MB> MB)");
    add("\r\nPhase 5: Starting Main Application", phases.phase5to7);
    add("\r\nPhase 8:  Restarting Services", phases.phase8);
    add("\r\nPhase 9:  Restarting Programs", phases.phase9);
    messages.push_back("\r\nZephlaunch Control Program finished.\r\n");
    return messages;
}

std::vector<std::string> DefragPhaseMessages(const std::string& output, int* shortAtBlock)
{
    MEMORYSTATUSEX memory;
    ZeroMemory(&memory, sizeof memory);
    memory.dwLength = sizeof memory;
    const unsigned long long n = GlobalMemoryStatusEx(&memory) ? memory.ullTotalPhys / 10485760ull : 0;
    // A 32-bit controller may run out of address space before the cap: the error line then
    // follows the progress line of the block it could not have.
    // Either ends the phase early: the commit limit leaves too little for other programs
    // (this machine's page file, and what other programs hold, decide), or a 32-bit
    // controller's address space is used up.
    int failedAt = 0;
    const char* const endings[] = {"\r\nEnough memory taken: the rest is left to other programs",
                                   "\r\nUnable to allocate memory"};
    const size_t margin = output.find(std::string("\r") + endings[0]);
    const size_t error = margin != std::string::npos ? margin : output.find(std::string("\r") + endings[1]);
    if ((sizeof(void*) == 4 || margin != std::string::npos) && error != std::string::npos) {
        const size_t line = output.rfind("\rAllocating block ", error);
        if (line != std::string::npos)
            failedAt = std::atoi(output.c_str() + line + std::strlen("\rAllocating block "));
    }
    if (shortAtBlock != nullptr)
        *shortAtBlock = failedAt;
    std::vector<std::string> lines = {"\r\nPhase 4: Defragmenting memory (this may take a few minutes)\r\n"};
    for (unsigned long long block = 1; block <= n + 1 && lines.size() <= 356; ++block) {
        lines.push_back("\rAllocating block " + std::to_string(block) + " of " + std::to_string(n + 1));
        if (block == static_cast<unsigned long long>(failedAt)) {
            lines.push_back(endings[margin != std::string::npos ? 0 : 1]);
            return lines;
        }
    }
    if (lines.size() <= 356)
        lines.push_back("\rAllocating final block          ");
    return lines;
}

ScopedWineVersion::ScopedWineVersion(const std::string& exeName, const std::string& version)
    : m_keyPath("Software\\Wine\\AppDefaults\\" + exeName)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr)
        != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create " + m_keyPath);
    }
    RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                   static_cast<DWORD>(version.size() + 1));
    RegCloseKey(key);
}

ScopedWineVersion::~ScopedWineVersion()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, m_keyPath.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Version");
        RegCloseKey(key);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, m_keyPath.c_str());
}

std::string CopyBinaryAs(const std::string& binFileName, const std::string& folder,
                         const std::string& newName)
{
    const std::string target = folder + "\\" + newName;
    if (!CopyFileA(BinPath(binFileName).c_str(), target.c_str(), FALSE)) {
        throw std::runtime_error(LastErrorText("CopyFile") + " for " + target);
    }
    return target;
}

std::vector<DWORD> FindProcesses(const std::string& exeName, DWORD parentId)
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0
            && (parentId == 0 || entry.th32ParentProcessID == parentId))
            ids.push_back(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

void KillProcesses(const std::string& exeName)
{
    for (DWORD id : FindProcesses(exeName)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process == nullptr)
            continue;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

HANDLE StartProgram(const std::string& commandLine, const std::string& workDir)
{
    // The program gets NUL for its standard handles: left to inherit ours, it (or a
    // process it starts) could hold a test's output pipe open long after the test.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inherit, OPEN_EXISTING, 0, nullptr);
    if (nul == INVALID_HANDLE_VALUE)
        return nullptr;
    PROCESS_INFORMATION process;
    const bool started = StartWithHandles(commandLine, nul, nul, DETACHED_PROCESS, workDir, process);
    CloseHandle(nul);
    if (!started)
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

long ReadShellRestart(REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWinlogonKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return -1;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    const LONG result =
        RegQueryValueExA(key, "AutoRestartShell", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return (result == ERROR_SUCCESS && type == REG_DWORD) ? static_cast<long>(value) : -1;
}

bool WriteShellRestart(long value, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kWinlogonKey, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    const DWORD data = static_cast<DWORD>(value);
    const LONG result = value < 0 ? RegDeleteValueA(key, "AutoRestartShell")
                                  : RegSetValueExA(key, "AutoRestartShell", 0, REG_DWORD,
                                                   reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return result == ERROR_SUCCESS || (value < 0 && result == ERROR_FILE_NOT_FOUND);
}

DWORD DeadProcessId()
{
    HANDLE process = StartProgram("\"" + BinPath("fixture_mainapp.exe") + "\"");
    if (process == nullptr)
        return 0;
    const DWORD id = GetProcessId(process);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    return id;
}

std::string WaitForFile(const std::string& path)
{
    return WaitForFileText(path, [](const std::string& text) { return !text.empty(); });
}

std::string I686ControllerPath()
{
    std::string path = ZEPH_I686_CONTROLLER;
    // A host path of the build tree: Wine shows the host's root as drive Z:.
    if (!path.empty() && path[0] == '/') {
        for (char& c : path) {
            if (c == '/')
                c = '\\';
        }
        path = "Z:" + path;
    }
    return FileExists(path) ? path : std::string();
}

DWORD CreateProcessError(const std::string& commandLine)
{
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof process);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED | DETACHED_PROCESS,
                        nullptr, nullptr, &startup, &process)) {
        return GetLastError();
    }
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

}  // namespace zt
