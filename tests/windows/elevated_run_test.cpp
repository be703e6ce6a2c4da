// The session filter of every process walk and the token start behind LaunchProgram, through
// the seams that stand in for what Wine lacks: a second session, an unusable unelevated token.
#include <gtest/gtest.h>

#include "controller/autostart_launch.h"
#include "controller/log_message.h"
#include "controller/main_app_start.h"
#include "controller/user_rights_start.h"
#include "controller/process_snapshot.h"
#include "service_direct/captured_log.h"
#include "support/program_fixture.h"

namespace {

DWORD g_otherSessionId = 0;  // placed in session 2, everything else in session 1
bool g_ownSessionUnknown = false;
BOOL WINAPI StandInSessionId(DWORD processId, DWORD* session)
{
    *session = processId == g_otherSessionId ? 2 : 1;
    return !(g_ownSessionUnknown && processId == GetCurrentProcessId());
}

bool Lists(DWORD processId, const char* name)
{
    ProcessSnapshot running;
    return running.Take() && running.HasProcess(processId, name);
}

TEST(ElevatedRun, OnlyProcessesOfTheOwnSessionAreWalked)
{
    zt::FixtureProgram other(zt::BinPath("fixture_window.exe"), "--no-window");
    EXPECT_TRUE(Lists(other.Id(), "fixture_window.exe")) << "Wine's own lookup: one session for all";
    g_otherSessionId = other.Id();
    SetSessionIdLookup(&StandInSessionId);
    EXPECT_FALSE(Lists(other.Id(), "fixture_window.exe"));
    EXPECT_TRUE(Lists(GetCurrentProcessId(), "elevated_run_test.exe"));
    g_ownSessionUnknown = true;  // sessions cannot be told apart: every process counts
    EXPECT_TRUE(Lists(other.Id(), "fixture_window.exe"));
    SetSessionIdLookup(nullptr);
}

HANDLE g_token = nullptr;
DWORD g_startError = ERROR_SUCCESS;
std::vector<std::wstring> g_started;  // command line and folder of each start through the token
DWORD StandInElevated(HANDLE* token)
{
    g_token = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token) ? *token : nullptr;
    return g_token != nullptr ? ERROR_SUCCESS : GetLastError();
}
BOOL WINAPI StandInTokenStart(HANDLE token, DWORD, LPCWSTR, LPWSTR line, DWORD flags, LPVOID, LPCWSTR folder,
                              LPSTARTUPINFOW startup, LPPROCESS_INFORMATION process)
{
    EXPECT_EQ(token, g_token);
    g_started.insert(g_started.end(), {line, folder != nullptr ? folder : L"<none>"});
    SetLastError(g_startError);
    return g_startError == ERROR_SUCCESS
           && CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, flags, nullptr, folder, startup,
                             process);
}

// Starts "cmd.exe /c exit 5" the way the main application is started; returns its exit code.
DWORD LaunchAndWait(bool (*start)(const char*, const char*, PROCESS_INFORMATION&) = LaunchProgram)
{
    PROCESS_INFORMATION process;
    if (!start("C:\\windows\\system32\\cmd.exe", "/c exit 5", process))
        return 1000 + GetLastError();
    DWORD code = WaitForSingleObject(process.hProcess, 30000);
    GetExitCodeProcess(process.hProcess, &code);
    if (process.hThread != nullptr)  // none from the shell's start
        CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(ElevatedRun, ProgramsStartWithTheUnelevatedTokenOrSaySoOnceAndStartAsBefore)
{
    SetTokenProcessStart(&StandInTokenStart);
    SetUnelevatedTokenLookup(&StandInElevated);
    PrepareUserRightsStart();
    EXPECT_EQ(LaunchAndWait(), 5u);
    EXPECT_EQ(g_started, (std::vector<std::wstring>{L"\"C:\\windows\\system32\\cmd.exe\" /c exit 5",
                                                    L"C:\\windows\\system32"}));
    EXPECT_TRUE(zt::TakeCapturedMessages().empty());

    g_startError = ERROR_ACCESS_DENIED;  // e.g. the secondary logon service is stopped
    PrepareUserRightsStart();
    EXPECT_EQ(LaunchAndWait(), 5u);
    EXPECT_EQ(LaunchAndWait(), 5u);
    EXPECT_EQ(zt::TakeCapturedMessages(),
              (std::vector<zt::CapturedMessage>{{LOG_WARNING,
                                                 "\r\nWARNING: Unable to start programs with your "
                                                 "ordinary rights, error 5 - they get the "
                                                 "administrator rights of this run"}}));
    SetUnelevatedTokenLookup(nullptr);
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
    EXPECT_EQ(LaunchAndWait(StartMainApplication), 5u) << "waited on the process the shell started";
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
