#include "procenum/process_enumerator.h"

#include "runtime/entry_point.h"
#include <tlhelp32.h>

#include <cstring>

namespace {

// Fixed capacities of one walk.
constexpr DWORD kMaxProcessIds = 1024;
constexpr DWORD kMaxModules = 1024;
constexpr DWORD kPathBufferSize = 260;

// Toolhelp entry points of KERNEL32.DLL (ANSI versions).
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE snapshot, PROCESSENTRY32* entry);
using ModuleWalkFn = BOOL(WINAPI*)(HANDLE snapshot, MODULEENTRY32* entry);

// PSAPI.DLL entry points.
using EnumProcessesFn = BOOL(WINAPI*)(DWORD* ids, DWORD bytes, DWORD* bytesNeeded);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* bytesNeeded);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE process, HMODULE module, char* path, DWORD size);
using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE process, HMODULE module, char* name, DWORD size);

struct ToolhelpEntryPoints {
    CreateSnapshotFn createSnapshot = nullptr;
    ProcessWalkFn processFirst = nullptr;
    ProcessWalkFn processNext = nullptr;
    ModuleWalkFn moduleFirst = nullptr;
    ModuleWalkFn moduleNext = nullptr;
};

ToolhelpEntryPoints LookUpToolhelp()
{
    ToolhelpEntryPoints entry;
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    entry.createSnapshot = LookUp<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot");
    entry.processFirst = LookUp<ProcessWalkFn>(kernel, "Process32First");
    entry.processNext = LookUp<ProcessWalkFn>(kernel, "Process32Next");
    entry.moduleFirst = LookUp<ModuleWalkFn>(kernel, "Module32First");
    entry.moduleNext = LookUp<ModuleWalkFn>(kernel, "Module32Next");
    return entry;
}

struct PsapiEntryPoints {
    EnumProcessesFn enumProcesses = nullptr;
    GetModuleFileNameExFn getModuleFileNameEx = nullptr;
    GetModuleBaseNameFn getModuleBaseName = nullptr;
    EnumProcessModulesFn enumProcessModules = nullptr;
};

PsapiEntryPoints LookUpPsapi(HMODULE psapi)
{
    PsapiEntryPoints entry;
    entry.enumProcesses = LookUp<EnumProcessesFn>(psapi, "EnumProcesses");
    entry.getModuleFileNameEx = LookUp<GetModuleFileNameExFn>(psapi, "GetModuleFileNameExA");
    entry.getModuleBaseName = LookUp<GetModuleBaseNameFn>(psapi, "GetModuleBaseNameA");
    entry.enumProcessModules = LookUp<EnumProcessModulesFn>(psapi, "EnumProcessModules");
    return entry;
}

const char* TextAfterLastBackslash(const char* path)
{
    const char* slash = std::strrchr(path, '\\');
    return slash != nullptr ? slash + 1 : path;
}

SessionIdLookup g_sessionIdLookup = nullptr;

SessionIdLookup SystemSessionIdLookup()
{
    return LookUp<SessionIdLookup>(GetModuleHandleA("KERNEL32.DLL"), "ProcessIdToSessionId");
}

}  // namespace

SessionIdLookup SetSessionIdLookup(SessionIdLookup lookup)
{
    const SessionIdLookup previous = g_sessionIdLookup;
    g_sessionIdLookup = lookup;
    return previous;
}

namespace {

// WTSEnumerateProcessesW and WTSFreeMemory of WTSAPI32.DLL (Windows 2000 with Terminal
// Services, XP and later), declared here so that older headers need nothing.
struct WtsProcessInfo {
    DWORD sessionId;
    DWORD processId;
    LPWSTR processName;
    PSID userSid;
};
using WtsEnumerateProcessesFn = BOOL(WINAPI*)(HANDLE server, DWORD reserved, DWORD version,
                                              WtsProcessInfo** processes, DWORD* count);
using WtsFreeMemoryFn = void(WINAPI*)(PVOID memory);

}  // namespace

void ProcessEnumerator::BeginSessionFilter()
{
    m_sessions.clear();
    m_sessionLookup = g_sessionIdLookup != nullptr ? g_sessionIdLookup : SystemSessionIdLookup();
    if (m_sessionLookup != nullptr && !m_sessionLookup(GetCurrentProcessId(), &m_ownSession))
        m_sessionLookup = nullptr;
    if (m_sessionLookup == nullptr || g_sessionIdLookup != nullptr)
        return;
    // Every session id at once, without opening any process: ProcessIdToSessionId needs a
    // handle with PROCESS_QUERY_INFORMATION on 2000 and XP, which many processes refuse.
    HMODULE wts = LoadLibraryA("wtsapi32.dll");
    const auto enumerate = LookUp<WtsEnumerateProcessesFn>(wts, "WTSEnumerateProcessesW");
    const auto release = LookUp<WtsFreeMemoryFn>(wts, "WTSFreeMemory");
    WtsProcessInfo* processes = nullptr;
    DWORD count = 0;
    if (enumerate != nullptr && release != nullptr && enumerate(nullptr, 0, 1, &processes, &count)) {
        for (DWORD i = 0; i < count; ++i)
            m_sessions.emplace_back(processes[i].processId, processes[i].sessionId);
        release(processes);
    }
    if (wts != nullptr)
        FreeLibrary(wts);
}

bool ProcessEnumerator::InOwnSession(DWORD processId) const
{
    if (m_sessionLookup == nullptr)
        return true;
    // Left out only when the session was read and is another user's: session 0 holds the
    // services and their helpers, and a session that cannot be read is not known to be
    // anyone else's.
    for (const auto& known : m_sessions) {
        if (known.first == processId)
            return known.second == m_ownSession || known.second == 0;
    }
    DWORD session = 0;
    return !m_sessionLookup(processId, &session) || session == m_ownSession || session == 0;
}

ProcessEnumerator::ProcessEnumerator() : m_usePsapi(false), m_hPsapi(nullptr), m_ntFamily(true)
{
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version)) {
        m_ntFamily = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        m_usePsapi = m_ntFamily && version.dwMajorVersion <= 4;
    }
}

ProcessEnumerator::~ProcessEnumerator()
{
    if (m_hPsapi != nullptr)
        FreeLibrary(m_hPsapi);
}

BOOL ProcessEnumerator::OnProcess(const char*, DWORD) { return TRUE; }

BOOL ProcessEnumerator::OnModule(HMODULE, const char*, const char*) { return TRUE; }

bool ProcessEnumerator::LoadHelperLibraries()
{
    if (!m_usePsapi)
        return true;
    // A second call must not take a second reference that the destructor never frees.
    if (m_hPsapi == nullptr)
        m_hPsapi = LoadLibraryA("PSAPI.DLL");
    return m_hPsapi != nullptr;
}

bool ProcessEnumerator::EnumerateProcesses()
{
    BeginSessionFilter();
    return m_usePsapi ? EnumerateProcessesPsapi() : EnumerateProcessesToolhelp();
}

bool ProcessEnumerator::EnumerateModules(DWORD processId)
{
    return m_usePsapi ? EnumerateModulesPsapi(processId) : EnumerateModulesToolhelp(processId);
}

bool ProcessEnumerator::EnumerateProcessesToolhelp()
{
    const ToolhelpEntryPoints toolhelp = LookUpToolhelp();
    if (toolhelp.createSnapshot == nullptr || toolhelp.processFirst == nullptr
        || toolhelp.processNext == nullptr) {
        return false;
    }
    HANDLE snapshot = toolhelp.createSnapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;

    PROCESSENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    for (BOOL more = toolhelp.processFirst(snapshot, &entry); more;
         more = toolhelp.processNext(snapshot, &entry)) {
        entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
        if (!InOwnSession(entry.th32ProcessID))
            continue;
        if (!OnProcess(entry.szExeFile, entry.th32ProcessID))
            break;
    }
    CloseHandle(snapshot);
    return true;
}

bool ProcessEnumerator::EnumerateProcessesPsapi()
{
    if (m_hPsapi == nullptr)
        return false;
    const PsapiEntryPoints psapi = LookUpPsapi(m_hPsapi);
    if (psapi.enumProcesses == nullptr || psapi.getModuleFileNameEx == nullptr
        || psapi.getModuleBaseName == nullptr || psapi.enumProcessModules == nullptr) {
        return false;
    }

    DWORD ids[kMaxProcessIds];
    DWORD bytesReturned = 0;
    if (!psapi.enumProcesses(ids, sizeof ids, &bytesReturned))
        return false;
    DWORD count = bytesReturned / sizeof(DWORD);
    if (count > kMaxProcessIds)
        count = kMaxProcessIds;

    for (DWORD i = 0; i < count; ++i) {
        if (!InOwnSession(ids[i]))
            continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]);
        if (process == nullptr)
            continue;  // ended meanwhile, or not ours to read
        HMODULE modules[kMaxModules];
        DWORD moduleBytes = 0;
        char path[kPathBufferSize];
        bool keepWalking = true;
        if (psapi.enumProcessModules(process, modules, sizeof modules, &moduleBytes)
            && moduleBytes >= sizeof(HMODULE)) {
            const DWORD length = psapi.getModuleFileNameEx(process, modules[0], path, sizeof path);
            if (length > 0 && length < sizeof path) {
                path[length] = '\0';
                keepWalking = OnProcess(path, ids[i]) != FALSE;
            }
        }
        CloseHandle(process);
        if (!keepWalking)
            break;
    }
    return true;
}

bool ProcessEnumerator::EnumerateModulesToolhelp(DWORD processId)
{
    const ToolhelpEntryPoints toolhelp = LookUpToolhelp();
    if (toolhelp.createSnapshot == nullptr || toolhelp.moduleFirst == nullptr
        || toolhelp.moduleNext == nullptr) {
        return false;
    }
    HANDLE snapshot = toolhelp.createSnapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;

    MODULEENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    for (BOOL more = toolhelp.moduleFirst(snapshot, &entry); more;
         more = toolhelp.moduleNext(snapshot, &entry)) {
        entry.szExePath[sizeof entry.szExePath - 1] = '\0';
        entry.szModule[sizeof entry.szModule - 1] = '\0';
        if (!OnModule(entry.hModule, entry.szExePath, entry.szModule))
            break;
    }
    CloseHandle(snapshot);
    return true;
}

bool ProcessEnumerator::EnumerateModulesPsapi(DWORD processId)
{
    if (m_hPsapi == nullptr)
        return false;
    const PsapiEntryPoints psapi = LookUpPsapi(m_hPsapi);
    if (psapi.getModuleFileNameEx == nullptr || psapi.enumProcessModules == nullptr)
        return false;

    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr)
        return false;
    HMODULE modules[kMaxModules];
    DWORD moduleBytes = 0;
    if (!psapi.enumProcessModules(process, modules, sizeof modules, &moduleBytes)) {
        CloseHandle(process);
        return false;
    }
    DWORD count = moduleBytes / sizeof(HMODULE);
    if (count > kMaxModules)
        count = kMaxModules;  // the list did not fit: walk what did

    bool ok = true;
    for (DWORD i = 0; i < count; ++i) {
        char path[kPathBufferSize];
        const DWORD length = psapi.getModuleFileNameEx(process, modules[i], path, sizeof path);
        if (length == 0 || length >= sizeof path) {
            ok = false;
            break;
        }
        path[length] = '\0';
        if (!OnModule(modules[i], path, TextAfterLastBackslash(path)))
            break;
    }
    CloseHandle(process);
    return ok;
}
