#include "controller/user_rights_start.h"

#include <cstring>
#include <vector>

#include "controller/log_message.h"
#include "runtime/entry_point.h"

namespace {

// Token information classes and values of Windows Vista, declared here so that older
// headers and targets need nothing. Every call that older systems lack is looked up by name.
constexpr int kTokenElevationTypeClass = 18;
constexpr int kTokenLinkedTokenClass = 19;
constexpr int kTokenElevationClass = 20;
constexpr DWORD kElevationTypeFull = 2;  // elevated, with an unelevated twin
constexpr int kSecurityImpersonation = 2;
constexpr int kTokenPrimary = 1;
constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
constexpr DWORD kPrimaryTokenRights =
    TOKEN_QUERY | TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT | TOKEN_ADJUST_SESSIONID;
// The creation flags a start through a token accepts.
constexpr DWORD kTokenStartFlags =
    CREATE_DEFAULT_ERROR_MODE | CREATE_NEW_CONSOLE | CREATE_NEW_PROCESS_GROUP | CREATE_SUSPENDED;

using OpenProcessTokenFn = BOOL(WINAPI*)(HANDLE process, DWORD rights, PHANDLE token);
using GetTokenInformationFn = BOOL(WINAPI*)(HANDLE token, int infoClass, LPVOID info, DWORD size,
                                            PDWORD needed);
using DuplicateTokenExFn = BOOL(WINAPI*)(HANDLE token, DWORD rights, LPSECURITY_ATTRIBUTES attributes,
                                         int level, int type, PHANDLE copy);
using GetShellWindowFn = HWND(WINAPI*)();
using GetWindowThreadProcessIdFn = DWORD(WINAPI*)(HWND window, LPDWORD processId);

UnelevatedTokenLookup g_lookupOverride = nullptr;
TokenProcessStart g_startOverride = nullptr;
HANDLE g_userToken = nullptr;         // set on the main thread before any start; then only read
DWORD g_lookupError = ERROR_SUCCESS;  // why an existing twin cannot be used
LONG g_warned = 0;

struct TokenCalls {
    OpenProcessTokenFn open =
        LookUp<OpenProcessTokenFn>(GetModuleHandleA("advapi32.dll"), "OpenProcessToken");
    GetTokenInformationFn info =
        LookUp<GetTokenInformationFn>(GetModuleHandleA("advapi32.dll"), "GetTokenInformation");
    DuplicateTokenExFn duplicate =
        LookUp<DuplicateTokenExFn>(GetModuleHandleA("advapi32.dll"), "DuplicateTokenEx");
    bool Complete() const { return open != nullptr && info != nullptr && duplicate != nullptr; }
};

bool QueryDword(const TokenCalls& calls, HANDLE token, int infoClass, DWORD& value)
{
    DWORD size = 0;
    return calls.info(token, infoClass, &value, sizeof value, &size) != FALSE;
}

DWORD PrimaryCopy(const TokenCalls& calls, HANDLE token, HANDLE* copy)
{
    if (!calls.duplicate(token, kPrimaryTokenRights, nullptr, kSecurityImpersonation, kTokenPrimary, copy))
        return GetLastError();
    return ERROR_SUCCESS;
}

// The token of this session's shell when the shell runs unelevated: the user's ordinary
// rights as the desktop has them.
DWORD ShellToken(const TokenCalls& calls, HANDLE* copy)
{
    // USER32.DLL is loaded only here: a run that never needs it does not pay for it.
    HMODULE user32 = LoadLibraryA("user32.dll");
    if (user32 == nullptr)
        return GetLastError();
    const auto shellWindow =
        reinterpret_cast<GetShellWindowFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetShellWindow")));
    const auto windowProcess = reinterpret_cast<GetWindowThreadProcessIdFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowThreadProcessId")));
    HWND shell = shellWindow != nullptr && windowProcess != nullptr ? shellWindow() : nullptr;
    DWORD shellId = 0;
    if (shell == nullptr || windowProcess(shell, &shellId) == 0 || shellId == 0) {
        FreeLibrary(user32);
        return ERROR_NOT_FOUND;
    }
    FreeLibrary(user32);
    HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, shellId);
    if (process == nullptr)
        return GetLastError();
    HANDLE token = nullptr;
    DWORD error = ERROR_SUCCESS;
    if (calls.open(process, TOKEN_QUERY | TOKEN_DUPLICATE, &token)) {
        DWORD elevated = 1;
        error = QueryDword(calls, token, kTokenElevationClass, elevated) && elevated == 0
                    ? PrimaryCopy(calls, token, copy)
                    : ERROR_ACCESS_DENIED;
        CloseHandle(token);
    } else {
        error = GetLastError();
    }
    CloseHandle(process);
    return error;
}

DWORD SystemUnelevatedToken(HANDLE* result)
{
    *result = nullptr;
    const TokenCalls calls;
    HANDLE own = nullptr;
    if (!calls.Complete() || !calls.open(GetCurrentProcess(), TOKEN_QUERY, &own))
        return ERROR_SUCCESS;  // no elevation to tell of (Windows before Vista)
    DWORD type = 0;
    if (!QueryDword(calls, own, kTokenElevationTypeClass, type) || type != kElevationTypeFull) {
        CloseHandle(own);
        return ERROR_SUCCESS;  // not elevated, or elevated without a twin: its rights are the user's own
    }
    HANDLE linked = nullptr;
    DWORD size = 0;
    DWORD error = ERROR_SUCCESS;
    if (calls.info(own, kTokenLinkedTokenClass, &linked, sizeof linked, &size)) {
        error = PrimaryCopy(calls, linked, result);
        CloseHandle(linked);
    } else {
        error = GetLastError();
    }
    CloseHandle(own);
    // Without the privilege to act as part of the system the twin comes only for
    // identification, which cannot start a program; the shell carries the same rights.
    if (error != ERROR_SUCCESS && ShellToken(calls, result) == ERROR_SUCCESS)
        error = ERROR_SUCCESS;
    return error;
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
    if (!start(g_userToken, 0, nullptr, line.data(), flags & kTokenStartFlags, nullptr,
               folder != nullptr ? wideFolder.data() : nullptr, &wideStartup, &process)) {
        const DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
    }
    return ERROR_SUCCESS;
}

bool ProgramItselfFails(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY
           || error == ERROR_BAD_EXE_FORMAT;
}

}  // namespace

void PrepareUserRightsStart()
{
    if (g_userToken != nullptr)
        CloseHandle(g_userToken);
    g_userToken = nullptr;
    g_warned = 0;
    const UnelevatedTokenLookup lookup =
        g_lookupOverride != nullptr ? g_lookupOverride : SystemUnelevatedToken;
    g_lookupError = lookup(&g_userToken);
    if (g_lookupError != ERROR_SUCCESS && g_userToken != nullptr) {
        CloseHandle(g_userToken);
        g_userToken = nullptr;
    }
}

bool StartWithUserRights(char* commandLine, DWORD flags, const char* folder, STARTUPINFOA& startup,
                         PROCESS_INFORMATION& process)
{
    std::memset(&process, 0, sizeof process);
    DWORD failure = g_lookupError;
    if (g_userToken != nullptr) {
        failure = StartWithToken(commandLine, flags, folder, startup, process);
        if (failure == ERROR_SUCCESS)
            return true;
        std::memset(&process, 0, sizeof process);
        // A program that cannot be started at all fails the ordinary way too, and says why there.
        if (ProgramItselfFails(failure))
            failure = ERROR_SUCCESS;
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
    if (!StartWithUserRights(line.data(), 0, folder, startup, process)) {
        error = GetLastError();
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    error = ERROR_SUCCESS;
    return true;
}

UnelevatedTokenLookup SetUnelevatedTokenLookup(UnelevatedTokenLookup lookup)
{
    const UnelevatedTokenLookup previous = g_lookupOverride;
    g_lookupOverride = lookup;
    return previous;
}

TokenProcessStart SetTokenProcessStart(TokenProcessStart start)
{
    const TokenProcessStart previous = g_startOverride;
    g_startOverride = start;
    return previous;
}
