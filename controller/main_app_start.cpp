#include "controller/main_app_start.h"

#include <shellapi.h>

#include <cstring>

#include "controller/autostart_launch.h"
#include "controller/log_message.h"
#include "controller/logic/command_line.h"
#include "profile/priority_text.h"
#include "profile/profile_keys.h"
#include "runtime/entry_point.h"

namespace {

#ifndef ERROR_ELEVATION_REQUIRED
#define ERROR_ELEVATION_REQUIRED 740
#endif
// Looked up at run time: a run that needs no elevation never loads the shell's library.
using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOA* info);
using GetProcessIdFn = DWORD(WINAPI*)(HANDLE process);

MainAppLaunch g_launch = nullptr;
PriorityClassSet g_setPriorityClass = nullptr;

bool StartElevated(const char* path, const char* arguments, PROCESS_INFORMATION& process)
{
    // Kept loaded: the shell may leave threads of its own behind in the controller.
    HMODULE shell = LoadLibraryA("shell32.dll");
    const auto shellExecuteEx = LookUp<ShellExecuteExFn>(shell, "ShellExecuteExA");
    if (shellExecuteEx == nullptr) {
        SetLastError(ERROR_ELEVATION_REQUIRED);
        return false;
    }
    // The command line as phase 5 builds it always starts with the quoted program (a value
    // that starts with a quote is a command line of its own): the shell wants the program
    // and its parameters apart.
    char commandLine[2 * profile::kValueBufferSize + 8];
    if (!BuildLaunchCommandLine(commandLine, sizeof commandLine, path, arguments)) {
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return false;
    }
    char* const file = commandLine + 1;
    char* parameters = std::strchr(file, '"');
    if (parameters == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    *parameters++ = '\0';
    while (*parameters == ' ' || *parameters == '\t')
        ++parameters;
    char folder[profile::kValueBufferSize];
    std::memset(folder, 0, sizeof folder);
    ProgramFolder(path, folder, sizeof folder);

    SHELLEXECUTEINFOA info;
    std::memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "runas";
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = folder[0] != '\0' ? folder : nullptr;
    info.nShow = SW_SHOWNORMAL;
    if (!shellExecuteEx(&info))
        return false;  // ERROR_CANCELLED when the user declined the prompt
    if (info.hProcess == nullptr) {
        // Nothing to wait on (the shell handed the start to a running program).
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    std::memset(&process, 0, sizeof process);
    process.hProcess = info.hProcess;
    const auto getProcessId = LookUp<GetProcessIdFn>(GetModuleHandleA("kernel32.dll"), "GetProcessId");
    process.dwProcessId = getProcessId != nullptr ? getProcessId(info.hProcess) : 0;
    return true;
}

const char* PriorityName(DWORD priorityClass)
{
    for (const profile::PriorityText& priority : profile::kPriorityTexts) {
        if (priority.priorityClass == priorityClass)
            return priority.text;
    }
    return "another";
}

}  // namespace

MainAppLaunch SetMainAppLaunch(MainAppLaunch launch)
{
    const MainAppLaunch previous = g_launch;
    g_launch = launch;
    return previous;
}

PriorityClassSet SetPriorityClassSet(PriorityClassSet set)
{
    const PriorityClassSet previous = g_setPriorityClass;
    g_setPriorityClass = set;
    return previous;
}

bool StartMainApplication(const char* path, const char* arguments, PROCESS_INFORMATION& process)
{
    const bool launched =
        g_launch != nullptr ? g_launch(path, arguments, process) : LaunchProgram(path, arguments, process);
    if (launched)
        return true;
    if (GetLastError() != ERROR_ELEVATION_REQUIRED)
        return false;
    LogMessage(LOG_PLAIN, "\r\nThe Main Application needs administrator rights: asking Windows to start it");
    return StartElevated(path, arguments, process);
}

void ApplyMainAppPriority(HANDLE process, DWORD priorityClass)
{
    if (!(g_setPriorityClass != nullptr ? g_setPriorityClass : SetPriorityClass)(process, priorityClass)) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Could not set priority, error code %lu", GetLastError());
        return;
    }
    // 0: the class cannot be read back (a handle without the query right); nothing to compare.
    const DWORD granted = GetPriorityClass(process);
    if (granted != 0 && granted != priorityClass) {
        LogMessage(LOG_WARNING, "\r\nWARNING: Windows gave the Main Application %s priority instead of %s",
                   PriorityName(granted), PriorityName(priorityClass));
    }
}
