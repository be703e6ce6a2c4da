// The main application's priority, read back from the running process for each of the
// six profile texts and for texts that are none of them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_profile.h"
#include "support/wine_harness.h"

namespace {

struct PriorityCase {
    const char* text;
    DWORD expectedClass;
    const char* exeTag;  // keeps the executable names of the cases apart
};

const PriorityCase kCases[] = {
    {"Realtime", REALTIME_PRIORITY_CLASS, "rt"},
    {"High", HIGH_PRIORITY_CLASS, "hi"},
    {"Above Normal", ABOVE_NORMAL_PRIORITY_CLASS, "an"},
    {"Normal", NORMAL_PRIORITY_CLASS, "no"},
    {"Below Normal", BELOW_NORMAL_PRIORITY_CLASS, "bn"},
    {"Low", IDLE_PRIORITY_CLASS, "lo"},
    {"high", NORMAL_PRIORITY_CLASS, "lc"},
    {"Idle", NORMAL_PRIORITY_CLASS, "id"},
};

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", value);
    return text;
}

class MainAppPriority : public ::testing::TestWithParam<PriorityCase> {};

// The main application waits for an event that its auto-start program sets; phase 6
// comes after the priority is set, so the priority it reports on its way out is the
// one the controller gave it.
TEST_P(MainAppPriority, IsAppliedToTheRunningProcess)
{
    const PriorityCase& c = GetParam();
    zt::TempFolder folder;
    const std::string main =
        zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), std::string("map_") + c.exeTag + ".exe");
    const std::string signaller =
        zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), std::string("map_sig_") + c.exeTag + ".exe");
    const std::string report = folder.File("main.txt");
    const std::string event = "zeph_map_" + std::to_string(GetCurrentProcessId()) + "_" + c.exeTag;
    const std::string arguments = "--report " + report + " --until-event " + event + " --seconds 60";
    const std::string profile =
        zt::WriteProfile(folder, "[Configuration]\r\nfspath=" + main + "\r\nfscmdline=" + arguments
                                     + "\r\nfspriority=" + c.text + "\r\nautostartdelay=0\r\n[AutoStart]\r\n"
                                     + signaller + "=--signal " + event + "|0\r\n");
    zt::RunOptions options;
    options.workDir = folder.Path();
    const zt::RunResult result = zt::RunController({profile}, options);
    ASSERT_FALSE(result.timedOut);

    const std::vector<std::string> phase5to7 = zt::MainAppPhases(
        main + " " + arguments, 0, {"\r\nExecuting " + signaller + " --signal " + event + "..."});
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(zt::RunMessages(profile, phase5to7)));

    const std::string saw = zt::ReadFileBytes(report);
    EXPECT_EQ(zt::ReportValue(saw, "end"), "event") << saw;
    EXPECT_EQ(zt::ReportValue(saw, "priority"), Hex(c.expectedClass)) << "fspriority=" << c.text;
}

INSTANTIATE_TEST_SUITE_P(AllTexts, MainAppPriority, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PriorityCase>& info) {
                             return std::string(info.param.exeTag);
                         });

}  // namespace
