// The never-stop list: the session's critical processes and services, in any letter case;
// look-alike names are not on it.
#include <gtest/gtest.h>

#include "profile/never_stop.h"

TEST(NeverStop, CriticalProcessesInAnyCase)
{
    for (const char* name : {"System", "smss.exe", "csrss.exe", "wininit.exe", "winlogon.exe", "services.exe",
                             "lsass.exe", "lsm.exe", "svchost.exe", "CSRSS.EXE", "Services.exe",
                             "conhost.exe", "[System Process]", "MSGSRV32.EXE", "ZephRun.exe"}) {
        EXPECT_TRUE(profile::IsNeverStopProcess(name)) << name;
    }
    for (const char* name : {"notepad.exe", "explorer.exe", "csrss", "csrss.exe ", "xcsrss.exe",
                             "services.exe.bak", "spoolsv.exe", "", "system32"}) {
        EXPECT_FALSE(profile::IsNeverStopProcess(name)) << name;
    }
    EXPECT_FALSE(profile::IsNeverStopProcess(nullptr));
}

TEST(NeverStop, CriticalServicesInAnyCase)
{
    for (const char* name :
         {"RpcSs", "rpcss", "DcomLaunch", "RpcEptMapper", "SamSs", "LSM", "Power", "PlugPlay"}) {
        EXPECT_TRUE(profile::IsNeverStopService(name)) << name;
    }
    // Services users stop for a game stay stoppable.
    for (const char* name : {"Spooler", "wuauserv", "Schedule", "Themes", "BITS", "RpcSsx", ""}) {
        EXPECT_FALSE(profile::IsNeverStopService(name)) << name;
    }
    EXPECT_FALSE(profile::IsNeverStopService(nullptr));
}
