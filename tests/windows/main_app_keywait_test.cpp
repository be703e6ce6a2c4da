// donotlaunchapp: nothing is launched, phase 6 runs, and the controller waits for a key
// instead of a main application.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/run_profile.h"
#include "support/wine_harness.h"

namespace {

// fspath is left "<not set>": with donotlaunchapp that is no error.
// The auto-start program outlives a run that waits in vain only briefly: Wine hands it
// the controller's output pipe, which the harness reads to its end.
std::string KeyWaitProfile(const zt::TempFolder& folder, const std::string& autoStart)
{
    return zt::WriteProfile(folder,
                            "[Configuration]\r\ndonotlaunchapp=1\r\nautostartdelay=5\r\nnonresponse=3\r\n"
                            "[AutoStart]\r\n"
                                + autoStart + "=--seconds 20|0\r\n");
}

std::vector<std::string> KeyWaitPhases(const std::string& autoStart)
{
    return {"\r\nPhase 6:  Auto Starting Programs",
            "\r\nExecuting " + autoStart + " --seconds 20...",
            "\r\nWaiting for user to press a key...",
            "\r\nPress any key to continue...",
            "\r\nPhase 7:  Stopping programs that were auto started",
            "\r\nTerminating mak_auto.exe..."};
}

}  // namespace

TEST(MainAppKeyWait, AKeyEndsTheWaitAndPhase7Follows)
{
    char display[256];
    if (GetEnvironmentVariableA("DISPLAY", display, sizeof display) == 0) {
        GTEST_SKIP() << "Wine's console takes typed keys only where a display exists (run under xvfb-run)";
    }
    zt::TempFolder folder;
    const std::string autoStart = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mak_auto.exe");
    const std::string profile = KeyWaitProfile(folder, autoStart);
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.withConsole = true;
    options.keysToType = "k";
    options.timeoutMs = 60000;
    const zt::RunResult result = zt::RunController({profile}, options);
    const bool autoStartLeft = !zt::FindProcesses("mak_auto.exe").empty();
    zt::KillProcesses("mak_auto.exe");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output),
              zt::Transcript(zt::RunMessages(profile, KeyWaitPhases(autoStart))));
    EXPECT_FALSE(autoStartLeft);
}

// Without a key the controller stays in its wait until the watchdog ends it. Runs as a
// test program of its own (see ZEPH_CONSOLE_KEY_WAIT_ENDED in tests/windows/CMakeLists.txt).
TEST(MainAppKeyWait, WithoutAKeyTheRunWaits)
{
    zt::TempFolder folder;
    const std::string autoStart = zt::CopyBinaryAs("fixture_mainapp.exe", folder.Path(), "mak_auto.exe");
    const std::string profile = KeyWaitProfile(folder, autoStart);
    zt::RunOptions options;
    options.workDir = folder.Path();
    options.withConsole = true;
    options.timeoutMs = 8000;
    const zt::RunResult result = zt::RunController({profile}, options);
    zt::KillProcesses("mak_auto.exe");
    EXPECT_TRUE(result.timedOut);
    std::vector<std::string> expected = zt::RunMessages(profile, KeyWaitPhases(autoStart));
    expected.resize(expected.size() - 5);  // up to the key prompt
    EXPECT_EQ(zt::NormalizeMemoryFigures(result.output), zt::Transcript(expected));
}
