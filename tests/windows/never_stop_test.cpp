// The never-stop list in real runs: Wine's own service manager process and its RPC service
// are named in a profile, and the run leaves both running with one warning each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/program_fixture.h"
#include "support/test_services.h"
#include "support/wine_harness.h"

namespace {

std::string NeverStopped(const std::string& name)
{
    return "\r\nWARNING: '" + name + "' is needed by Windows and is never stopped.";
}

TEST(NeverStop, ServicesExeInProgramsKeepsRunning)
{
    const std::vector<DWORD> before = zt::FindProcesses("services.exe");
    ASSERT_FALSE(before.empty());
    zt::TempFolder folder;
    const std::string profile = folder.File("services_exe.ini");
    zt::WriteFileBytes(profile, zt::ProgramsProfile({"nonresponse=3"},
                                                    {"services.exe=Stop|C:\\windows\\system32\\services.exe",
                                                     "SERVICES.EXE=Stop & Restart|C:\\x.exe"}));
    const std::string output = zt::RunProfile(profile);
    EXPECT_EQ(output, zt::Transcript(zt::RunMessages(profile, {NeverStopped("services.exe")}, {})));
    EXPECT_EQ(zt::FindProcesses("services.exe"), before);
}

// A run never ends itself (here under another name) nor zephrun.exe, maybe another run.
TEST(NeverStop, TheControllerNeverStopsItselfOrAnotherRun)
{
    zt::TempFolder folder;
    const std::string controller = zt::CopyBinaryAs("zephrun.exe", folder.Path(), "ownrun.exe");
    const std::string profile = folder.File("own_run.ini");
    zt::WriteFileBytes(profile, zt::ProgramsProfile({}, {"ownrun.exe=Stop|x", "zephrun.exe=Stop|x"}));
    EXPECT_EQ(zt::RunProfile(profile, controller),
              zt::Transcript(zt::RunMessages(profile, {NeverStopped("zephrun.exe")}, {})));
}

TEST(NeverStop, RpcSsInServicesIsNotStopped)
{
    ASSERT_EQ(zt::StartAndWait("RpcSs"), static_cast<DWORD>(SERVICE_RUNNING));
    ASSERT_EQ(zt::StartAndWait("PlugPlay"), static_cast<DWORD>(SERVICE_RUNNING));
    zt::TempFolder folder;
    const std::string profile = folder.File("rpcss.ini");
    zt::WriteFileBytes(profile, zt::ServicesProfile({{"RpcSs", "Stop & Restart"}, {"plugplay", "Stop"}}));
    const std::string output = zt::RunProfile(profile);
    EXPECT_EQ(output, zt::Transcript(zt::ServiceRunMessages(
                          profile, {NeverStopped("RpcSs"), NeverStopped("plugplay")}, {})));
    EXPECT_EQ(zt::ServiceState("RpcSs"), static_cast<DWORD>(SERVICE_RUNNING));
    EXPECT_EQ(zt::ServiceState("PlugPlay"), static_cast<DWORD>(SERVICE_RUNNING));
}

}  // namespace
