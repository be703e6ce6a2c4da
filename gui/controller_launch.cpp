#include "controller_launch.h"

#include "journal/journal_file.h"
#include "journal/journal_text.h"

#include "framework/com_ptr.h"
#include "framework/shell_execute.h"
#include "gui/logic/controller_run.h"
#include "gui_strings.h"
#include "profile/profile_keys.h"
#include "wait_window.h"

#include <shobjidl.h>

#include <string>
#include <vector>

namespace {

ElevationProbe g_elevationProbe = nullptr;
OwnFolderLookup g_ownFolderLookup = nullptr;
LinkRunAsSetter g_linkRunAsSetter = nullptr;

// The token information class and record of Windows Vista, declared here so that
// older headers and targets need nothing.
const int kTokenElevationClass = 20;
struct TokenElevationRecord {
    DWORD isElevated;
};
const DWORD kLinkRunAsUser = 0x00002000;  // SLDF_RUNAS_USER

std::string ModuleFolder()
{
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string folder(path, length);
    std::string::size_type slash = folder.rfind('\\');
    return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    DWORD length = ::GetCurrentDirectoryA(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

std::vector<char> ReadSection(const char* section, const std::string& file)
{
    std::vector<char> buffer(profile::kSectionBufferSize, '\0');
    DWORD length =
        ::GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    buffer.resize(length + 2 <= buffer.size() ? length + 2 : buffer.size());
    buffer[buffer.size() - 1] = '\0';
    buffer[buffer.size() - 2] = '\0';
    return buffer;
}

std::string OwnFolder() { return g_ownFolderLookup ? g_ownFolderLookup() : ModuleFolder(); }

// Tells an elevated controller this process, whose unelevated token it starts programs with
// when the shell's cannot be had.
std::string UserProcessArgument()
{
    return "--user-process " + std::to_string(::GetCurrentProcessId()) + " ";
}

}  // namespace

OwnFolderLookup SetOwnFolderLookup(OwnFolderLookup lookup)
{
    OwnFolderLookup previous = g_ownFolderLookup;
    g_ownFolderLookup = lookup;
    return previous;
}

std::string ControllerPath()
{
    const std::string folder = OwnFolder();
    return folder.empty() ? std::string() : folder + "\\" + gui::kControllerExe;
}

ElevationState ProbeElevation()
{
    ElevationState state;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT
        || version.dwMajorVersion < 6)
        return state;
    state.accountControl = true;
    HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
    if (!advapi)
        return state;
    using OpenTokenFn = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
    using TokenInfoFn = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD, PDWORD);
    auto openToken =
        reinterpret_cast<OpenTokenFn>(reinterpret_cast<void*>(::GetProcAddress(advapi, "OpenProcessToken")));
    auto tokenInfo = reinterpret_cast<TokenInfoFn>(
        reinterpret_cast<void*>(::GetProcAddress(advapi, "GetTokenInformation")));
    HANDLE token = nullptr;
    if (!openToken || !tokenInfo || !openToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return state;  // unknown counts as not elevated: asking costs one prompt at most
    TokenElevationRecord record = {};
    DWORD size = 0;
    if (tokenInfo(token, kTokenElevationClass, &record, sizeof record, &size))
        state.elevated = record.isElevated != 0;
    ::CloseHandle(token);
    return state;
}

ElevationState QueryElevation() { return g_elevationProbe ? g_elevationProbe() : ProbeElevation(); }

ElevationProbe SetElevationProbe(ElevationProbe probe)
{
    ElevationProbe previous = g_elevationProbe;
    g_elevationProbe = probe;
    return previous;
}

bool ProfileNeedsAdministrator(const std::string& profilePath)
{
    std::vector<char> programs = ReadSection(profile::kPrograms, profilePath);
    std::vector<char> services = ReadSection(profile::kServices, profilePath);
    return gui_logic::RunNeedsAdministrator(programs.data(), programs.size(), services.data(),
                                            services.size());
}

ControllerStart StartController(HWND owner, const std::string& profilePath)
{
    ControllerStart start;
    std::string controller = ControllerPath();
    if (controller.empty()) {
        start.noController = true;
        start.error = ERROR_PATH_NOT_FOUND;
        return start;
    }
    start.commandLine = gui_logic::ControllerCommandLine(controller, profilePath);
    start.folder = CurrentFolder();

    if (ProfileNeedsAdministrator(profilePath)) {
        ElevationState elevation = QueryElevation();
        if (elevation.accountControl && !elevation.elevated) {
            ShellExecuteRequest request;
            request.owner = owner;
            request.verb = "runas";
            request.file = controller;
            request.parameters = UserProcessArgument() + gui_logic::QuotedArgument(profilePath);
            request.directory = start.folder;
            request.show = SW_SHOWNORMAL;
            request.wantProcess = true;
            start.commandLine = gui_logic::QuotedArgument(controller) + " " + request.parameters;
            // The shell may hand the request to COM objects of its own.
            if (!EnsureComInitialised()) {
                // Without COM the shell still starts what it can start by itself.
            }
            ShellExecuteOutcome outcome = RunShellExecute(request);
            start.elevatedVerb = true;
            start.started = outcome.ok;
            start.error = outcome.error;
            start.process = outcome.process;
            return start;
        }
    }

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    std::vector<char> commandLine(start.commandLine.begin(), start.commandLine.end());
    commandLine.push_back('\0');
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NEW_CONSOLE | CREATE_DEFAULT_ERROR_MODE, nullptr,
                          start.folder.empty() ? nullptr : start.folder.c_str(), &startup, &process)) {
        start.error = ::GetLastError();
        return start;
    }
    ::CloseHandle(process.hThread);
    start.started = true;
    start.process = process.hProcess;
    return start;
}

HRESULT SetLinkRunAsFlag(IShellLinkA* link)
{
    CComPtr<IShellLinkDataList> data;
    HRESULT result = link->QueryInterface(IID_IShellLinkDataList, data.OutVoid());
    if (FAILED(result))
        return result;
    DWORD flags = 0;
    result = data->GetFlags(&flags);
    if (FAILED(result))
        return result;
    return data->SetFlags(flags | kLinkRunAsUser);
}

LinkRunAsSetter SetLinkRunAsSetter(LinkRunAsSetter setter)
{
    LinkRunAsSetter previous = g_linkRunAsSetter;
    g_linkRunAsSetter = setter;
    return previous;
}

ShortcutResult WriteProfileShortcut(const std::string& folder, const std::string& profilePath)
{
    const std::string controller = ControllerPath();
    if (controller.empty())
        return ShortcutResult::NoController;
    if (!EnsureComInitialised())
        return ShortcutResult::NoShellLink;
    CComPtr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.OutVoid())))
        return ShortcutResult::NoShellLink;
    // Working in the controller's folder, an elevated run never writes its log into the
    // system folder (where the shell would start it otherwise).
    if (FAILED(link->SetPath(controller.c_str())) || FAILED(link->SetWorkingDirectory(OwnFolder().c_str()))
        || FAILED(link->SetArguments(gui_logic::QuotedArgument(profilePath).c_str())))
        return ShortcutResult::SaveFailed;

    std::string name = gui_logic::LinkProfileName(profilePath);
    std::string linkFile = gui_logic::LinkFilePath(folder, name);
    if (FAILED(link->SetDescription(gui_logic::LinkDescription(name).c_str())))
        return ShortcutResult::SaveFailed;

    char icon[profile::kValueBufferSize] = {};
    ::GetPrivateProfileStringA(profile::kConfiguration, profile::kFsPath, profile::kNotSet, icon, sizeof icon,
                               profilePath.c_str());
    if (lstrcmpA(icon, profile::kNotSet) != 0 && FAILED(link->SetIconLocation(icon, 0)))
        return ShortcutResult::SaveFailed;

    // A shortcut is opened later, normally without elevation: the flag depends on the
    // profile and the platform, not on how this GUI runs.
    if (ProfileNeedsAdministrator(profilePath) && QueryElevation().accountControl) {
        LinkRunAsSetter setter = g_linkRunAsSetter ? g_linkRunAsSetter : &SetLinkRunAsFlag;
        // A link that does not take the flag is still saved; its runs then lack the rights.
        setter(link.Get());
    }

    CComPtr<IPersistFile> file;
    if (FAILED(link.QueryInterface(IID_IPersistFile, file)))
        return ShortcutResult::SaveFailed;
    WCHAR widePath[MAX_PATH] = {};
    if (!::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, linkFile.c_str(), -1, widePath, MAX_PATH))
        return ShortcutResult::SaveFailed;
    return file->Save(widePath, TRUE) == S_OK ? ShortcutResult::Saved : ShortcutResult::SaveFailed;
}

std::string ControllerCommandLineWith(const std::string& arguments)
{
    std::string line = "\"" + ControllerPath() + "\"";
    if (!arguments.empty())
        line += " " + arguments;
    return line;
}

bool StartControllerInConsole(const std::string& arguments, PROCESS_INFORMATION& process)
{
    const std::string folder = CurrentFolder();
    std::string commandLine = ControllerCommandLineWith(arguments);
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ZeroMemory(&process, sizeof process);
    return ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &process)
           != FALSE;
}

bool CaptureControllerOutput(const std::string& arguments, DWORD timeoutMs, std::string& output, DWORD& error)
{
    const std::string folder = CurrentFolder();
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
    const BOOL duplicated = ::DuplicateHandle(::GetCurrentProcess(), pipeWriteEnd, ::GetCurrentProcess(),
                                              &writeEnd, 0, TRUE, DUPLICATE_SAME_ACCESS);
    ::CloseHandle(pipeWriteEnd);
    if (!duplicated) {
        error = ::GetLastError();
        ::CloseHandle(readEnd);
        return false;
    }
    HANDLE input = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);

    std::string commandLine = ControllerCommandLineWith(arguments);
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
    const BOOL started =
        ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &startup, &process);
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
        if (WaitWindow::Wait(process.hProcess, 20)) {
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

bool UnfinishedRunJournalExists(bool* needsAdministrator)
{
    const std::vector<JournalRecord> journals = DeadRunJournals();
    if (needsAdministrator != nullptr) {
        // One restore takes them all: any one that needs the rights needs them for all.
        *needsAdministrator = false;
        for (const JournalRecord& journal : journals)
            *needsAdministrator = *needsAdministrator || !journal.services.empty() || journal.hasShellValue;
    }
    return !journals.empty();
}

RestoreRun RunControllerRestore(HWND owner, bool elevate, DWORD timeoutMs)
{
    RestoreRun run;
    char tempFolder[MAX_PATH] = {};
    char outputPath[MAX_PATH] = {};
    const DWORD tempLength = ::GetTempPathA(sizeof tempFolder, tempFolder);
    if (tempLength == 0 || tempLength >= sizeof tempFolder
        || ::GetTempFileNameA(tempFolder, "zrr", 0, outputPath) == 0) {
        run.error = ::GetLastError();
        return run;
    }
    const std::string arguments = "--restore " + gui_logic::QuotedArgument(outputPath);
    const std::string folder = CurrentFolder();
    HANDLE process = nullptr;
    const ElevationState elevation = QueryElevation();
    if (elevate && elevation.accountControl && !elevation.elevated) {
        ShellExecuteRequest request;
        request.owner = owner;
        request.verb = "runas";
        request.file = ControllerPath();
        request.parameters = UserProcessArgument() + arguments;
        request.directory = folder;
        request.show = SW_HIDE;
        request.wantProcess = true;
        const ShellExecuteOutcome outcome = RunShellExecute(request);
        run.started = outcome.ok;
        run.error = outcome.error;
        process = outcome.process;
    } else {
        std::string commandLine = ControllerCommandLineWith(arguments);
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION started = {};
        run.started = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                                       nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &started)
                      != FALSE;
        if (run.started) {
            ::CloseHandle(started.hThread);
            process = started.hProcess;
        } else {
            run.error = ::GetLastError();
        }
    }
    if (process != nullptr) {
        run.finished = WaitWindow::Wait(process, timeoutMs) && ::GetExitCodeProcess(process, &run.exitCode);
        ::CloseHandle(process);
    }
    HANDLE file = ::CreateFileA(outputPath, GENERIC_READ, ShareWithEveryone(), nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD got = 0;
        while (run.output.size() < 1024 * 1024 && ::ReadFile(file, buffer, sizeof buffer, &got, nullptr)
               && got > 0)
            run.output.append(buffer, got);
        ::CloseHandle(file);
    }
    // A restore still running keeps its file; it is a temporary file either way.
    if (!run.started || run.finished)
        ::DeleteFileA(outputPath);
    return run;
}
