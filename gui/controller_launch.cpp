#include "controller_launch.h"

#include "controller/journal_file.h"
#include "controller/logic/journal_text.h"

#include <vector>

std::string ControllerCommandLine(const char* folder, const std::string& arguments)
{
    std::string line = "\"";
    if (folder != nullptr && folder[0] != '\0') {
        line += folder;
        if (line.back() != '\\')
            line += '\\';
    }
    line += "zephrun.exe\"";
    if (!arguments.empty())
        line += " " + arguments;
    return line;
}

bool StartControllerInConsole(const char* folder, const std::string& arguments, PROCESS_INFORMATION& process)
{
    std::string commandLine = ControllerCommandLine(folder, arguments);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ZeroMemory(&process, sizeof process);
    return ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                            folder != nullptr && folder[0] != '\0' ? folder : nullptr, &startup, &process) != FALSE;
}

bool CaptureControllerOutput(const char* folder, const std::string& arguments, DWORD timeoutMs, std::string& output,
                             DWORD& error)
{
    output.clear();
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE pipeWriteEnd = nullptr;
    if (!::CreatePipe(&readEnd, &pipeWriteEnd, nullptr, 0)) {
        error = ::GetLastError();
        return false;
    }
    // Only the write end goes to the controller: an inheritable copy of it (the way that
    // works on every Windows version, Windows 9x included).
    HANDLE writeEnd = nullptr;
    const BOOL duplicated = ::DuplicateHandle(::GetCurrentProcess(), pipeWriteEnd, ::GetCurrentProcess(), &writeEnd, 0,
                                              TRUE, DUPLICATE_SAME_ACCESS);
    ::CloseHandle(pipeWriteEnd);
    if (!duplicated) {
        error = ::GetLastError();
        ::CloseHandle(readEnd);
        return false;
    }
    HANDLE input = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                                 nullptr);

    std::string commandLine = ControllerCommandLine(folder, arguments);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process = {};
    const BOOL started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                          folder != nullptr && folder[0] != '\0' ? folder : nullptr, &startup,
                                          &process);
    error = started ? 0 : ::GetLastError();
    ::CloseHandle(writeEnd);
    if (input != INVALID_HANDLE_VALUE)
        ::CloseHandle(input);
    if (!started) {
        ::CloseHandle(readEnd);
        return false;
    }

    // Read until the controller has ended and the pipe is empty; a controller that does
    // not end in time is ended, so the window never waits for ever.
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
            break;  // closed: every writer has gone
        if (available > 0) {
            char buffer[4096];
            DWORD got = 0;
            if (!::ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) || got == 0)
                break;
            output.append(buffer, got);
            continue;
        }
        if (::WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) {
            // Ended: take what is left, without waiting for writers it may have passed the pipe on to.
            if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) || available == 0)
                break;
            continue;
        }
        if (::GetTickCount() - start > timeoutMs) {
            ::TerminateProcess(process.hProcess, 1);
            break;
        }
    }
    ::CloseHandle(readEnd);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

bool UnfinishedRunJournalExists()
{
    std::string folder;
    if (!JournalFolder(folder, false))
        return false;
    for (int slot = 0; slot < kJournalSlots; ++slot) {
        JournalRecord journal;
        bool complete = false;
        if (ReadJournalSlot(JournalPath(folder, slot), journal, complete) && complete && !JournalRunIsAlive(journal))
            return true;
    }
    return false;
}
