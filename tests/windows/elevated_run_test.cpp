// The session filter of every process walk and the token start behind LaunchProgram, through
// the seams that stand in for what Wine lacks: a second session, an unusable unelevated token.
#include <gtest/gtest.h>

#include <map>

#include "controller/autostart_launch.h"
#include "controller/log_message.h"
#include "controller/main_app_start.h"
#include "controller/user_rights_start.h"
#include "controller/process_snapshot.h"
#include "service_direct/captured_log.h"
#include "support/program_fixture.h"
#include "support/wine_harness.h"

namespace {

DWORD g_otherSessionId = 0;    // placed in session 2, everything else in session 1
DWORD g_serviceSessionId = 0;  // in session 0, as a service's helper is
DWORD g_refusingId = 0;        // refuses the handle that 2000 and XP need to read its session
bool g_ownSessionUnknown = false;
BOOL WINAPI StandInSessionId(DWORD processId, DWORD* session)
{
    if (processId == g_refusingId || (g_ownSessionUnknown && processId == GetCurrentProcessId())) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *session = processId == g_otherSessionId ? 2 : processId == g_serviceSessionId ? 0 : 1;
    return TRUE;
}

bool Lists(DWORD processId, const char* name)
{
    ProcessSnapshot running;
    return running.Take() && running.HasProcess(processId, name);
}

TEST(ElevatedRun, OnlyProcessesOfAnotherUsersSessionAreLeftOut)
{
    zt::FixtureProgram other(zt::BinPath("fixture_window.exe"), "--no-window");
    zt::FixtureProgram helper(zt::BinPath("fixture_window.exe"), "--no-window");
    zt::FixtureProgram refusing(zt::BinPath("fixture_window.exe"), "--no-window");
    EXPECT_TRUE(Lists(other.Id(), "fixture_window.exe")) << "Wine's own lookup: one session for all";
    g_otherSessionId = other.Id();
    g_serviceSessionId = helper.Id();
    g_refusingId = refusing.Id();
    SetSessionIdLookup(&StandInSessionId);
    EXPECT_FALSE(Lists(other.Id(), "fixture_window.exe"));
    EXPECT_TRUE(Lists(helper.Id(), "fixture_window.exe"));
    EXPECT_TRUE(Lists(refusing.Id(), "fixture_window.exe"));
    EXPECT_TRUE(Lists(GetCurrentProcessId(), "elevated_run_test.exe"));
    g_ownSessionUnknown = true;  // sessions cannot be told apart: every process counts
    EXPECT_TRUE(Lists(other.Id(), "fixture_window.exe"));
    g_ownSessionUnknown = false;
    SetSessionIdLookup(nullptr);
}

// What an elevated run's token calls meet on Windows: its token is elevated, its linked twin
// comes only for identification, which DuplicateTokenEx refuses, and other processes run
// elevated unless named here.
DWORD g_limitedId = 0, g_callerId = 0, g_shellId = 0;  // unelevated processes (0: none)
std::map<HANDLE, DWORD> g_tokenProcess;                // each token opened or copied, and its process
BOOL WINAPI StandInOpen(HANDLE process, DWORD rights, PHANDLE token)
{
    const BOOL opened = OpenProcessToken(process, rights | TOKEN_DUPLICATE, token);
    if (opened)
        g_tokenProcess[*token] = GetProcessId(process);
    return opened;
}
BOOL WINAPI StandInInfo(HANDLE token, int infoClass, LPVOID info, DWORD size, PDWORD needed)
{
    const DWORD id = g_tokenProcess.count(token) != 0 ? g_tokenProcess[token] : 0;
    const bool unelevated = id != 0 && (id == g_limitedId || id == g_callerId || id == g_shellId);
    if (infoClass == TokenElevationType || infoClass == TokenElevation) {
        // The shell and the GUI may be another (standard) user's, as when an administrator elevated the run.
        *static_cast<DWORD*>(info) = infoClass == TokenElevation ? !unelevated
                                     : id == g_limitedId         ? 3
                                     : unelevated                ? 1
                                                                 : 2;
        return TRUE;
    }
    if (infoClass == TokenLinkedToken)
        return DuplicateTokenEx(token, TOKEN_QUERY | TOKEN_DUPLICATE, nullptr, SecurityIdentification,
                                TokenImpersonation, static_cast<HANDLE*>(info));
    return GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(infoClass), info, size, needed);
}
BOOL WINAPI StandInDuplicate(HANDLE token, DWORD rights, LPSECURITY_ATTRIBUTES, int level, int type,
                             PHANDLE copy)
{
    DWORD size = 0, kind = TokenPrimary, has = SecurityImpersonation;
    if (GetTokenInformation(token, TokenType, &kind, sizeof kind, &size) && kind == TokenImpersonation
        && GetTokenInformation(token, TokenImpersonationLevel, &has, sizeof has, &size)
        && has < SecurityImpersonation) {
        SetLastError(ERROR_BAD_IMPERSONATION_LEVEL);
        return FALSE;
    }
    const BOOL copied =
        DuplicateTokenEx(token, rights, nullptr, static_cast<SECURITY_IMPERSONATION_LEVEL>(level),
                         static_cast<TOKEN_TYPE>(type), copy);
    g_tokenProcess[copied ? *copy : nullptr] = g_tokenProcess[token];
    return copied;
}
DWORD StandInShell() { return g_shellId; }
const TokenCalls kElevatedWindows = {&StandInOpen, &StandInInfo, &StandInDuplicate, &StandInShell};

DWORD g_startError = ERROR_SUCCESS;
std::vector<std::wstring> g_started;  // each start through a token: its process, command line, folder
bool g_consoleHidden = false;
BOOL WINAPI StandInTokenStart(HANDLE token, DWORD, LPCWSTR, LPWSTR line, DWORD flags, LPVOID environment,
                              LPCWSTR folder, LPSTARTUPINFOW startup, LPPROCESS_INFORMATION process)
{
    g_started.push_back(std::to_wstring(g_tokenProcess[token]) + L" " + line + L" in "
                        + (folder ? folder : L""));
    g_consoleHidden = (startup->dwFlags & STARTF_USESHOWWINDOW) != 0 && startup->wShowWindow == SW_HIDE;
    SetLastError(g_startError);
    // As Windows does: the user's own environment unless one is passed, always a console.
    wchar_t usersOwn[] = L"SystemRoot=C:\\windows\0";
    return g_startError == ERROR_SUCCESS
           && CreateProcessW(nullptr, line, nullptr, nullptr, FALSE,
                             (flags & ~DETACHED_PROCESS) | CREATE_NEW_CONSOLE | CREATE_UNICODE_ENVIRONMENT,
                             environment != nullptr ? environment : usersOwn, folder, startup, process);
}

// Starts "cmd.exe /c exit %ZEPH_KEPT%" (7 in the caller's environment) the way the main
// application is started, or through start when one is given; returns its exit code.
DWORD LaunchAndWait(StartRights rights = StartRights::MayFallBack,
                    const char* path = "C:\\windows\\system32\\cmd.exe",
                    bool (*start)(const char*, const char*, PROCESS_INFORMATION&) = nullptr)
{
    PROCESS_INFORMATION process;
    const char* arguments = "/c exit %ZEPH_KEPT%";
    if (start != nullptr ? !start(path, arguments, process)
                         : !LaunchProgram(path, arguments, process, rights))
        return 1000 + GetLastError();
    DWORD code = WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &code);
    if (process.hThread != nullptr)  // none from the shell's start
        CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(ElevatedRun, ProgramsStartWithAnUnelevatedTokenAndJournalsAndTheShellNeverElevated)
{
    zt::TempFolder folder;
    const std::string shell = zt::CopyBinaryAs("fixture_window.exe", folder.Path(), "explorer.exe");
    zt::FixtureProgram user(zt::BinPath("fixture_window.exe"), "--no-window");
    SetEnvironmentVariableA("ZEPH_KEPT", "7");
    SetTokenCalls(&kElevatedWindows);
    SetTokenProcessStart(&StandInTokenStart);
    // No shell and no unelevated process: what a journal lists and the shell stay unstarted.
    PrepareUserRightsStart(0);
    EXPECT_FALSE(UserRightsAvailable());
    EXPECT_EQ(LaunchAndWait(StartRights::UserRightsOnly), 1000u + ERROR_BAD_IMPERSONATION_LEVEL);
    EXPECT_EQ(LaunchAndWait(StartRights::MayFallBack, shell.c_str()), 1000u + ERROR_BAD_IMPERSONATION_LEVEL);
    EXPECT_EQ(LaunchAndWait(), 7u);  // the main application, after one warning
    EXPECT_TRUE(g_started.empty());
    const std::vector<zt::CapturedMessage> noToken = zt::TakeCapturedMessages();
    ASSERT_EQ(noToken.size(), 2u);
    EXPECT_EQ(noToken[0].text.find("\r\nERROR: No program of yours runs without administrator rights (error "
                                   "1346), so the shell and the programs of the run journal are not started"),
              0u);
    EXPECT_NE(noToken[0].text.find("Task Manager, \"Run new task\", explorer.exe."), std::string::npos);
    EXPECT_EQ(
        noToken[1].text.find("\r\nWARNING: Unable to start programs with your ordinary rights, error 1346"),
        0u);

    // The token of the GUI that started the run, of the shell, of any unelevated process of the user's.
    for (DWORD* unelevated : {&g_callerId, &g_shellId, &g_limitedId}) {
        *unelevated = user.Id();
        PrepareUserRightsStart(g_callerId);
        EXPECT_EQ(LaunchAndWait(StartRights::UserRightsOnly), 7u) << "the caller's environment";
        EXPECT_TRUE(g_consoleHidden) << "started detached, a console program shows no console";
        EXPECT_EQ(g_started, std::vector<std::wstring>{std::to_wstring(user.Id())
                                                       + L" \"C:\\windows\\system32\\cmd.exe\" /c exit "
                                                         L"%ZEPH_KEPT% in C:\\windows\\system32"});
        g_started.clear();
        *unelevated = 0;
    }
    EXPECT_TRUE(zt::TakeCapturedMessages().empty());

    g_limitedId = user.Id();
    g_startError = ERROR_ACCESS_DENIED;  // e.g. the secondary logon service is stopped
    PrepareUserRightsStart(0);
    EXPECT_EQ(LaunchAndWait(StartRights::UserRightsOnly), 1000u + ERROR_ACCESS_DENIED);
    EXPECT_EQ(LaunchAndWait(), 7u);
    EXPECT_EQ(LaunchAndWait(), 7u);
    EXPECT_EQ(zt::TakeCapturedMessages(),
              (std::vector<zt::CapturedMessage>{{LOG_WARNING,
                                                 "\r\nWARNING: Unable to start programs with your "
                                                 "ordinary rights, error 5 - they get the "
                                                 "administrator rights of this run"}}));
    SetTokenCalls(nullptr);
    SetTokenProcessStart(nullptr);
}

// What Wine never answers: a main application that needs administrator rights (740), and
// Realtime that Windows turns into High without the right to raise scheduling priority.
bool NeedsElevation(const char*, const char*, PROCESS_INFORMATION&)
{
    SetLastError(740);  // ERROR_ELEVATION_REQUIRED
    return false;
}
BOOL WINAPI HighForRealtime(HANDLE process, DWORD priorityClass)
{
    return SetPriorityClass(process,
                            priorityClass == REALTIME_PRIORITY_CLASS ? HIGH_PRIORITY_CLASS : priorityClass);
}

TEST(ElevatedRun, MainAppNeedingAdministratorRightsStartsThroughRunasAndALowerPriorityIsSaid)
{
    SetMainAppLaunch(&NeedsElevation);
    SetEnvironmentVariableA("ZEPH_KEPT", "7");
    EXPECT_EQ(LaunchAndWait(StartRights::MayFallBack, "C:\\windows\\system32\\cmd.exe", StartMainApplication),
              7u)
        << "waited on the process the shell started";
    SetMainAppLaunch(nullptr);

    SetPriorityClassSet(&HighForRealtime);
    ApplyMainAppPriority(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    ApplyMainAppPriority(GetCurrentProcess(), HIGH_PRIORITY_CLASS);  // granted: no word
    SetPriorityClassSet(nullptr);
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(
        zt::TakeCapturedMessages(),
        (std::vector<zt::CapturedMessage>{
            {LOG_PLAIN, "\r\nThe Main Application needs administrator rights: asking Windows to start it"},
            {LOG_WARNING,
             "\r\nWARNING: Windows gave the Main Application High priority instead of Realtime"}}));
}

}  // namespace
