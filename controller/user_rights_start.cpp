#include "controller/user_rights_start.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "controller/log_message.h"
#include "procenum/process_enumerator.h"
#include "runtime/entry_point.h"

namespace {

// Token information classes and values of Windows Vista, declared here so that older
// headers and targets need nothing. Every call that older systems lack is looked up by name.
constexpr int kTokenUserClass = 1;
constexpr int kTokenSessionIdClass = 12;
constexpr int kTokenElevationTypeClass = 18;
constexpr int kTokenLinkedTokenClass = 19;
constexpr int kTokenElevationClass = 20;
constexpr DWORD kElevationTypeFull = 2;     // elevated, with an unelevated twin
constexpr DWORD kElevationTypeLimited = 3;  // the unelevated twin
constexpr int kSecurityImpersonation = 2;
constexpr int kTokenPrimary = 1;
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
constexpr DWORD kPrimaryTokenRights =
    TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;
// The creation flags a start through a token accepts (it always gives a console program
// a console of its own).
constexpr DWORD kTokenStartFlags =
    CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED;

using GetShellWindowFn = HWND(WINAPI*)();
using GetWindowThreadProcessIdFn = DWORD(WINAPI*)(HWND window, LPDWORD processId);
using GetEnvironmentStringsWFn = LPWCH(WINAPI*)();
using FreeEnvironmentStringsWFn = BOOL(WINAPI*)(LPWCH environment);

const TokenCalls* g_callsOverride = nullptr;
TokenProcessStart g_startOverride = nullptr;
HANDLE g_userToken = nullptr;         // set on the main thread before any start; then only read
DWORD g_lookupError = ERROR_SUCCESS;  // why an elevated run has no unelevated token
LONG g_warned = 0;
LONG g_reported = 0;

// The process of this session's shell window; 0 when no shell runs.
DWORD SystemShellProcessId()
{
    // USER32.DLL is loaded only here: a run that never needs it does not pay for it.
    HMODULE user32 = LoadLibraryA("user32.dll");
    const auto shellWindow = LookUp<GetShellWindowFn>(user32, "GetShellWindow");
    const auto windowProcess = LookUp<GetWindowThreadProcessIdFn>(user32, "GetWindowThreadProcessId");
    HWND shell = shellWindow != nullptr && windowProcess != nullptr ? shellWindow() : nullptr;
    DWORD shellId = 0;
    if (shell == nullptr || windowProcess(shell, &shellId) == 0)
        shellId = 0;
    if (user32 != nullptr)
        FreeLibrary(user32);
    return shellId;
}

TokenCalls SystemTokenCalls()
{
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    TokenCalls calls;
    calls.open = LookUp<decltype(calls.open)>(advapi, "OpenProcessToken");
    calls.info = LookUp<decltype(calls.info)>(advapi, "GetTokenInformation");
    calls.duplicate = LookUp<decltype(calls.duplicate)>(advapi, "DuplicateTokenEx");
    calls.shellProcessId = &SystemShellProcessId;
    return calls;
}

bool QueryDword(const TokenCalls& calls, HANDLE token, int infoClass, DWORD& value)
{
    DWORD size = 0;
    return calls.info(token, infoClass, &value, sizeof value, &size) != FALSE;
}

// The reason of a call that failed, never ERROR_SUCCESS: a failure must not read as success.
DWORD FailureReason()
{
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

DWORD PrimaryCopy(const TokenCalls& calls, HANDLE token, HANDLE* copy)
{
    if (!calls.duplicate(token, kPrimaryTokenRights, nullptr, kSecurityImpersonation, kTokenPrimary, copy))
        return FailureReason();
    return ERROR_SUCCESS;
}

// What an unelevated token must share with the run's own.
struct RunIdentity {
    DWORD session = 0;
    DWORD user[64] = {};  // TOKEN_USER and the SID behind it
    bool Read(const TokenCalls& calls, HANDLE token)
    {
        DWORD size = 0;
        return QueryDword(calls, token, kTokenSessionIdClass, session)
               && calls.info(token, kTokenUserClass, user, sizeof user, &size);
    }
    bool SameUser(const RunIdentity& other) const
    {
        const BYTE* mine = Sid(user);
        const BYTE* theirs = Sid(other.user);
        return mine != nullptr && theirs != nullptr && mine[1] == theirs[1]
               && std::memcmp(mine, theirs, 8 + 4 * std::size_t{mine[1]}) == 0;
    }
    // The SID that TOKEN_USER points to, when it lies whole within the buffer.
    static const BYTE* Sid(const DWORD (&buffer)[64])
    {
        const auto begin = reinterpret_cast<std::uintptr_t>(buffer);
        const BYTE* sid = static_cast<const BYTE*>(reinterpret_cast<const TOKEN_USER*>(buffer)->User.Sid);
        const auto at = reinterpret_cast<std::uintptr_t>(sid);
        if (at < begin + sizeof(TOKEN_USER) || at + 8 > begin + sizeof buffer)
            return nullptr;
        return at + 8 + 4 * std::uintptr_t{sid[1]} <= begin + sizeof buffer ? sid : nullptr;
    }
};

// A primary copy of the token of processId when it runs unelevated in the run's session
// (and, with sameUser, is the same user's limited twin): ERROR_SUCCESS and the copy.
DWORD UnelevatedTokenOf(const TokenCalls& calls, DWORD processId, const RunIdentity& run, bool sameUser,
                        HANDLE* copy)
{
    HANDLE process = processId != 0 ? OpenProcess(kQueryLimitedInformation, FALSE, processId) : nullptr;
    if (process == nullptr)
        return processId != 0 ? FailureReason() : ERROR_NOT_FOUND;
    HANDLE token = nullptr;
    DWORD error = ERROR_SUCCESS;
    if (calls.open(process, TOKEN_QUERY | TOKEN_DUPLICATE, &token)) {
        RunIdentity theirs;
        DWORD elevated = 1;
        DWORD type = 0;
        const bool usable = theirs.Read(calls, token) && theirs.session == run.session
                            && QueryDword(calls, token, kTokenElevationClass, elevated) && elevated == 0
                            && (!sameUser
                                || (QueryDword(calls, token, kTokenElevationTypeClass, type)
                                    && type == kElevationTypeLimited && theirs.SameUser(run)));
        error = usable ? PrimaryCopy(calls, token, copy) : ERROR_ACCESS_DENIED;
        CloseHandle(token);
    } else {
        error = FailureReason();
    }
    CloseHandle(process);
    return error;
}

// The processes of the run's session, for a token of the same user's.
class SessionProcesses : public ProcessEnumerator {
public:
    std::vector<DWORD> ids;
    BOOL OnProcess(const char*, DWORD processId) override
    {
        if (processId != GetCurrentProcessId())
            ids.push_back(processId);
        return TRUE;
    }
};

// Finds a primary token of the user's ordinary rights: ERROR_SUCCESS with a token (the
// caller owns it), ERROR_SUCCESS with null (not elevated, or no unelevated twin: its
// rights are the user's own), or why an elevated run has none.
DWORD FindUnelevatedToken(const TokenCalls& calls, DWORD callerProcessId, HANDLE* result)
{
    *result = nullptr;
    HANDLE own = nullptr;
    if (calls.open == nullptr || calls.info == nullptr || calls.duplicate == nullptr
        || !calls.open(GetCurrentProcess(), TOKEN_QUERY, &own))
        return ERROR_SUCCESS;  // no elevation to tell of (Windows before Vista)
    DWORD type = 0;
    RunIdentity run;
    if (!QueryDword(calls, own, kTokenElevationTypeClass, type) || type != kElevationTypeFull) {
        CloseHandle(own);
        return ERROR_SUCCESS;
    }
    HANDLE linked = nullptr;
    DWORD size = 0;
    DWORD error = ERROR_SUCCESS;
    if (calls.info(own, kTokenLinkedTokenClass, &linked, sizeof linked, &size)) {
        // Only with the privilege to act as part of the system is the twin more than an
        // identification token: elsewhere this fails with ERROR_BAD_IMPERSONATION_LEVEL.
        error = PrimaryCopy(calls, linked, result);
        CloseHandle(linked);
    } else {
        error = FailureReason();
    }
    const bool identified = run.Read(calls, own);
    CloseHandle(own);
    if (error == ERROR_SUCCESS || !identified)
        return error;
    // The GUI that started the run, the shell, then any process of the same user's.
    if (UnelevatedTokenOf(calls, callerProcessId, run, false, result) == ERROR_SUCCESS
        || UnelevatedTokenOf(calls, calls.shellProcessId(), run, false, result) == ERROR_SUCCESS)
        return ERROR_SUCCESS;
    SessionProcesses walk;
    walk.LoadHelperLibraries();
    if (walk.EnumerateProcesses()) {
        for (DWORD id : walk.ids) {
            if (UnelevatedTokenOf(calls, id, run, true, result) == ERROR_SUCCESS)
                return ERROR_SUCCESS;
        }
    }
    *result = nullptr;
    return error;
}

// The program a command line starts: its first part, quoted or up to the first blank.
void ProgramOfCommandLine(const char* commandLine, char* out, std::size_t outSize)
{
    const bool quoted = commandLine[0] == '"';
    const char* begin = quoted ? commandLine + 1 : commandLine;
    const char* end = std::strchr(begin, quoted ? '"' : ' ');
    std::size_t length = end != nullptr ? static_cast<std::size_t>(end - begin) : std::strlen(begin);
    if (length >= outSize)
        length = 0;
    std::memcpy(out, begin, length);
    out[length] = '\0';
}

bool IsShell(const char* program)
{
    const char* slash = std::strrchr(program, '\\');
    const char* name = slash != nullptr ? slash + 1 : program;
    const char shell[] = "explorer.exe";
    for (std::size_t i = 0; i < sizeof shell; ++i) {
        const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
        if (c != shell[i])
            return false;
    }
    return true;
}

// True for a console program (its image's subsystem), which a start through a token always
// gives a console of its own.
bool IsConsoleProgram(const char* program)
{
    HANDLE file = CreateFileA(program, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    IMAGE_DOS_HEADER dos;
    BYTE headers[4 + sizeof(IMAGE_FILE_HEADER) + 70];  // signature, file header, optional header to Subsystem
    DWORD got = 0;
    bool console = false;
    if (ReadFile(file, &dos, sizeof dos, &got, nullptr) && got == sizeof dos
        && dos.e_magic == IMAGE_DOS_SIGNATURE && dos.e_lfanew > 0
        && SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER
        && ReadFile(file, headers, sizeof headers, &got, nullptr) && got == sizeof headers
        && std::memcmp(headers, "PE\0\0", 4) == 0) {
        // Subsystem lies 68 bytes into the optional header of 32-bit and 64-bit images alike.
        const BYTE* subsystem = headers + 4 + sizeof(IMAGE_FILE_HEADER) + 68;
        console = (subsystem[0] | subsystem[1] << 8) == IMAGE_SUBSYSTEM_WINDOWS_CUI;
    }
    CloseHandle(file);
    return console;
}

std::vector<wchar_t> Widened(const char* text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::vector<wchar_t> wide(length > 0 ? static_cast<std::size_t>(length) : 1u, L'\0');
    if (length <= 0 || MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length) != length)
        wide.clear();
    return wide;
}

DWORD StartWithToken(char* commandLine, DWORD flags, const char* folder, const STARTUPINFOA& startup,
                     PROCESS_INFORMATION& process)
{
    const TokenProcessStart start =
        g_startOverride != nullptr
            ? g_startOverride
            : LookUp<TokenProcessStart>(GetModuleHandleA("advapi32.dll"), "CreateProcessWithTokenW");
    if (start == nullptr)
        return ERROR_PROC_NOT_FOUND;
    std::vector<wchar_t> line = Widened(commandLine);
    std::vector<wchar_t> wideFolder = Widened(folder != nullptr ? folder : "");
    if (line.empty() || wideFolder.empty())
        return ERROR_NO_UNICODE_TRANSLATION;
    STARTUPINFOW wideStartup;
    std::memset(&wideStartup, 0, sizeof wideStartup);
    wideStartup.cb = sizeof wideStartup;
    wideStartup.dwFlags = startup.dwFlags & STARTF_USESHOWWINDOW;
    wideStartup.wShowWindow = startup.wShowWindow;
    char program[MAX_PATH];
    ProgramOfCommandLine(commandLine, program, sizeof program);
    if ((flags & DETACHED_PROCESS) != 0 && IsConsoleProgram(program)) {
        // Started detached it would have no console; the one a token start gives stays hidden.
        wideStartup.dwFlags |= STARTF_USESHOWWINDOW;
        wideStartup.wShowWindow = SW_HIDE;
    }
    // The caller's environment, not the one Windows makes from the user's profile.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto environmentOf = LookUp<GetEnvironmentStringsWFn>(kernel, "GetEnvironmentStringsW");
    const auto freeEnvironment = LookUp<FreeEnvironmentStringsWFn>(kernel, "FreeEnvironmentStringsW");
    LPWCH environment = environmentOf != nullptr && freeEnvironment != nullptr ? environmentOf() : nullptr;
    const DWORD startFlags =
        (flags & kTokenStartFlags) | (environment != nullptr ? CREATE_UNICODE_ENVIRONMENT : 0);
    const BOOL started = start(g_userToken, 0, nullptr, line.data(), startFlags, environment,
                               folder != nullptr ? wideFolder.data() : nullptr, &wideStartup, &process);
    const DWORD error = started ? ERROR_SUCCESS : GetLastError();
    if (environment != nullptr && !freeEnvironment(environment)) {
        // Nothing more to do: the copy stays until the run ends.
    }
    if (!started)
        return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
    return ERROR_SUCCESS;
}

bool ProgramItselfFails(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY
           || error == ERROR_BAD_EXE_FORMAT;
}

}  // namespace

void PrepareUserRightsStart(DWORD callerProcessId)
{
    if (g_userToken != nullptr)
        CloseHandle(g_userToken);
    g_userToken = nullptr;
    g_warned = 0;
    g_reported = 0;
    const TokenCalls calls = g_callsOverride != nullptr ? *g_callsOverride : SystemTokenCalls();
    g_lookupError = FindUnelevatedToken(calls, callerProcessId, &g_userToken);
    if (g_lookupError != ERROR_SUCCESS && g_userToken != nullptr) {
        CloseHandle(g_userToken);
        g_userToken = nullptr;
    }
}

bool UserRightsAvailable() { return g_userToken != nullptr || g_lookupError == ERROR_SUCCESS; }

void ReportNoUserRights()
{
    if (InterlockedExchange(&g_reported, 1) == 0) {
        LogMessage(
            LOG_ERROR,
            "\r\nERROR: No program of yours runs without administrator rights (error %lu), so the shell "
            "and the programs of the run journal are not started: they would get those rights. Start "
            "the shell yourself: Task Manager, \"Run new task\", explorer.exe.",
            g_lookupError);
    }
}

bool StartWithUserRights(char* commandLine, DWORD flags, const char* folder, STARTUPINFOA& startup,
                         PROCESS_INFORMATION& process, StartRights rights)
{
    std::memset(&process, 0, sizeof process);
    char program[MAX_PATH];
    ProgramOfCommandLine(commandLine, program, sizeof program);
    const bool userRightsOnly = rights == StartRights::UserRightsOnly || IsShell(program);
    DWORD failure = g_lookupError;
    if (g_userToken != nullptr) {
        failure = StartWithToken(commandLine, flags, folder, startup, process);
        if (failure == ERROR_SUCCESS)
            return true;
        std::memset(&process, 0, sizeof process);
        // A program that cannot be started at all fails the ordinary way too, and says why there.
        if (ProgramItselfFails(failure) && !userRightsOnly)
            failure = ERROR_SUCCESS;
    }
    if (failure != ERROR_SUCCESS && userRightsOnly) {
        // Never with the administrator rights of this run.
        if (g_userToken == nullptr)
            ReportNoUserRights();
        SetLastError(failure);
        return false;
    }
    if (failure != ERROR_SUCCESS && InterlockedExchange(&g_warned, 1) == 0) {
        LogMessage(
            LOG_WARNING,
            "\r\nWARNING: Unable to start programs with your ordinary rights, error %lu - they get the "
            "administrator rights of this run",
            failure);
    }
    return CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, flags, nullptr, folder, &startup,
                          &process)
           != FALSE;
}

bool StartShownWithUserRights(const char* commandLine, const char* folder, DWORD& error)
{
    std::vector<char> line(commandLine, commandLine + std::strlen(commandLine) + 1);
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process;
    if (!StartWithUserRights(line.data(), 0, folder, startup, process, StartRights::MayFallBack)) {
        error = GetLastError();
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    error = ERROR_SUCCESS;
    return true;
}

const TokenCalls* SetTokenCalls(const TokenCalls* calls)
{
    const TokenCalls* previous = g_callsOverride;
    g_callsOverride = calls;
    return previous;
}

TokenProcessStart SetTokenProcessStart(TokenProcessStart start)
{
    const TokenProcessStart previous = g_startOverride;
    g_startOverride = start;
    return previous;
}
