// The controller's start-up, refusals, phase sequence, end-of-run options and log file,
// observed from outside: zephrun.exe runs under Wine and its output is compared byte for byte.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "support/run_profile.h"
#include "support/wine_harness.h"

using zt::NormalizeMemoryFigures;
using zt::RunController;
using zt::Transcript;

namespace {

const std::string kBanner = std::string("\r\n") + zt::kBanner;
const char kPressKey[] = "\r\nPress any key to continue...";

// Everything after the start-up lines for a profile that asks for nothing, on the NT family.
std::vector<std::string> NothingToDoMessages(bool ntFamily = true)
{
    zt::RunPhases phases;
    if (!ntFamily)
        phases.phase3 = phases.phase8 = {"\r\n...skipping since OS is Windows 9x/ME"};
    std::vector<std::string> lines = zt::WholeRunMessages("", phases);
    // The callers put their own start-up lines before these.
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(zt::StartupMessages("").size()));
    return lines;
}

std::string WholeRun(const std::string& profilePath, bool ntFamily = true)
{
    return Transcript(zt::Join(zt::StartupMessages(profilePath), NothingToDoMessages(ntFamily)));
}

class ControllerSpine : public ::testing::Test {
protected:
    std::string WriteProfile(const std::string& name, const std::string& text)
    {
        const std::string path = folder.File(name);
        zt::WriteFileBytes(path, text);
        return path;
    }
    zt::RunOptions InFolder()
    {
        zt::RunOptions options;
        options.workDir = folder.Path();
        return options;
    }
    zt::TempFolder folder;
};

}  // namespace

TEST_F(ControllerSpine, RefusesAMissingArgumentAndAMissingFile)
{
    zt::RunResult none = RunController({}, InFolder());
    EXPECT_FALSE(none.timedOut);
    EXPECT_EQ(none.exitCode, 0u);
    EXPECT_EQ(
        none.output,
        Transcript({kBanner, "\r\nMissing command line to specify ini file to use!  Program terminating...",
                    kPressKey}));

    const std::string missing = folder.File("no such profile.ini");
    zt::RunResult absent = RunController({missing}, InFolder());
    EXPECT_EQ(absent.exitCode, 0u);
    EXPECT_EQ(absent.output,
              Transcript({kBanner, "\r\nini file '" + missing + "' not found !  Program terminating...",
                          kPressKey}));
    // Refusals come before the profile is read, so nothing is logged.
    EXPECT_FALSE(zt::FileExists(folder.File("zephrun_log.txt")));
}

TEST_F(ControllerSpine, RefusesAFolderAndAnOverlongPathLikeAMissingFile)
{
    zt::RunResult directory = RunController({folder.Path()}, InFolder());
    EXPECT_EQ(directory.output,
              Transcript({kBanner, "\r\nini file '" + folder.Path() + "' not found !  Program terminating...",
                          kPressKey}));

    // 511 characters fit; 512 do not and must not be cut down to another file's name.
    const std::string overlong = folder.File(std::string(600, 'p') + ".ini");
    zt::RunResult tooLong = RunController({overlong}, InFolder());
    EXPECT_EQ(tooLong.exitCode, 0u);
    EXPECT_EQ(tooLong.output,
              Transcript({kBanner, "\r\nini file '" + overlong + "' not found !  Program terminating...",
                          kPressKey}));
}

TEST_F(ControllerSpine, ADescriptionOnlyProfileRunsEveryPhaseWithDefaults)
{
    const std::string profilePath =
        WriteProfile("only description.ini", "[Configuration]\r\ndescription=Just words\r\n");
    zt::RunResult run = RunController({profilePath}, InFolder());
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(NormalizeMemoryFigures(run.output), WholeRun(profilePath));
    EXPECT_FALSE(zt::FileExists(folder.File("zephrun_log.txt")));  // logging is off by default
}

// A relative profile path names the file in the working folder: that file is the one read
// (the private-profile functions alone would look in the Windows folder and run with every
// default), and the path is shown absolute. A missing relative file is shown absolute too.
TEST_F(ControllerSpine, RelativeProfilePathIsReadFromTheWorkingFolderAndShownAbsolute)
{
    ASSERT_TRUE(CreateDirectoryA(folder.File("sub").c_str(), nullptr));
    const std::string profilePath = WriteProfile("sub\\relative.ini", "[Configuration]\r\nlogging=1\r\n");
    zt::RunResult run = RunController({".\\sub\\..\\sub\\relative.ini"}, InFolder());
    EXPECT_FALSE(run.timedOut);
    const std::vector<std::string> expected =
        zt::Join(zt::StartupMessages(profilePath), NothingToDoMessages());
    EXPECT_EQ(NormalizeMemoryFigures(run.output), Transcript(expected));
    // logging=1 came from the profile: the log holds the run without the banner.
    EXPECT_EQ(NormalizeMemoryFigures(zt::ReadFileBytes(folder.File("zephrun_log.txt"))),
              Transcript(std::vector<std::string>(expected.begin() + 1, expected.end())));

    zt::RunResult absent = RunController({"sub\\absent.ini"}, InFolder());
    EXPECT_EQ(absent.output, Transcript({kBanner,
                                         "\r\nini file '" + folder.File("sub\\absent.ini")
                                             + "' not found !  Program terminating...",
                                         kPressKey}));
}

TEST_F(ControllerSpine, Windows9xSkipsOnlyTheServicePhases)
{
    const std::string controller = zt::CopyBinaryAs("zephrun.exe", folder.Path(), "zephrun_spine_9x.exe");
    zt::ScopedWineVersion win98("zephrun_spine_9x.exe", "win98");
    const std::string profilePath = WriteProfile("p.ini", "[Configuration]\r\ndescription=x\r\n");
    zt::RunOptions options = InFolder();
    options.controllerPath = controller;
    zt::RunResult run = RunController({profilePath}, options);
    EXPECT_EQ(NormalizeMemoryFigures(run.output), WholeRun(profilePath, false));
}

TEST_F(ControllerSpine, PauseAtEndWaitsForAKeyForAnyNonZeroValue)
{
    const std::string profilePath = WriteProfile("pause.ini", "[Configuration]\r\npauseatend=2\r\n");
    const std::string expected =
        Transcript(zt::Join(zt::StartupMessages(profilePath), zt::Join(NothingToDoMessages(), {kPressKey})));
    zt::RunOptions answered = InFolder();
    answered.withConsole = true;
    answered.keysToType = "x";
    answered.timeoutMs = 60000;
    zt::RunResult run = RunController({profilePath}, answered);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(NormalizeMemoryFigures(run.output), expected);
}

// Ends the controller inside its key wait: runs as a test program of its own (see
// ZEPH_CONSOLE_KEY_WAIT_ENDED in tests/windows/CMakeLists.txt).
TEST_F(ControllerSpine, PauseAtEndWithoutAKeyKeepsWaiting)
{
    const std::string profilePath = WriteProfile("pause.ini", "[Configuration]\r\npauseatend=2\r\n");
    const std::string expected =
        Transcript(zt::Join(zt::StartupMessages(profilePath), zt::Join(NothingToDoMessages(), {kPressKey})));
    zt::RunOptions waiting = InFolder();
    waiting.withConsole = true;
    waiting.timeoutMs = 4000;
    zt::RunResult unanswered = RunController({profilePath}, waiting);
    EXPECT_TRUE(unanswered.timedOut) << "the controller ended without waiting for a key";
    EXPECT_EQ(NormalizeMemoryFigures(unanswered.output), expected);
}

TEST_F(ControllerSpine, ShutdownAndRestartNeedExactlyOne)
{
    const std::string profilePath = WriteProfile(
        "two.ini",
        "[Configuration]\r\nShutdownAfterTermination=2\r\nRestartAfterTermination=-1\r\npauseatend=0\r\n");
    zt::RunResult run = RunController({profilePath}, InFolder());
    EXPECT_EQ(NormalizeMemoryFigures(run.output), WholeRun(profilePath));
}

TEST_F(ControllerSpine, LogFileGetsEveryMessageAfterTheProfileWasReadAndAppendsAcrossRuns)
{
    const std::string profilePath = WriteProfile("logged.ini", "[Configuration]\r\nlogging=1\r\n");
    zt::RunResult first = RunController({profilePath}, InFolder());
    zt::RunResult second = RunController({profilePath}, InFolder());
    EXPECT_EQ(NormalizeMemoryFigures(first.output), WholeRun(profilePath));

    std::vector<std::string> logged = NothingToDoMessages();
    logged.insert(logged.begin(), {"\r\nUsing ini file: " + profilePath,
                                   "\r\nFree physical memory at start: <bytes> bytes (<MB> MB)"});
    const std::string oneRun = Transcript(logged);  // text mode: "\r\n" is stored as CR CR LF
    EXPECT_EQ(NormalizeMemoryFigures(zt::ReadFileBytes(folder.File("zephrun_log.txt"))), oneRun + oneRun);
    // The second run's part of the log is exactly what its console showed after the banner.
    const std::string raw = zt::ReadFileBytes(folder.File("zephrun_log.txt"));
    const size_t secondRunStart = raw.find(zt::TextMode("\r\nUsing ini file"), 1);
    ASSERT_NE(secondRunStart, std::string::npos);
    EXPECT_EQ(second.output.substr(second.output.size() - (raw.size() - secondRunStart)),
              raw.substr(secondRunStart));
}

TEST_F(ControllerSpine, AnUnwritableLogOnlyTurnsLoggingOff)
{
    // A folder where the log file should be: the file cannot be opened for appending.
    ASSERT_TRUE(CreateDirectoryA(folder.File("zephrun_log.txt").c_str(), nullptr));
    const std::string profilePath = WriteProfile("logged.ini", "[Configuration]\r\nlogging=1\r\n");
    zt::RunResult run = RunController({profilePath}, InFolder());
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(NormalizeMemoryFigures(run.output), WholeRun(profilePath));
}

TEST_F(ControllerSpine, PercentSignsInThePathArePrintedLiterally)
{
    zt::TempFolder odd;
    const std::string subfolder = odd.File("100%s %d %n %x");
    ASSERT_TRUE(CreateDirectoryA(subfolder.c_str(), nullptr));
    const std::string profilePath = subfolder + "\\p%%.ini";
    zt::WriteFileBytes(profilePath, "[Configuration]\r\nlogging=1\r\n");
    zt::RunOptions options = InFolder();
    zt::RunResult run = RunController({profilePath}, options);
    EXPECT_EQ(NormalizeMemoryFigures(run.output), WholeRun(profilePath));
    const std::string log = zt::ReadFileBytes(folder.File("zephrun_log.txt"));
    EXPECT_EQ(log.find(zt::TextMode("\r\nUsing ini file: " + profilePath)), 0u);

    const std::string missing = subfolder + "\\%s%s%s%s.ini";
    zt::RunResult refused = RunController({missing}, options);
    EXPECT_EQ(refused.output,
              Transcript({kBanner, "\r\nini file '" + missing + "' not found !  Program terminating...",
                          kPressKey}));
}

TEST_F(ControllerSpine, GarbageAndOverlongLinesRunWithDefaults)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 37 + 11) % 256);
    garbage += "\r\n[Configuration]\r\nfspath=" + std::string(5000, 'A') + "\r\n";
    garbage += "[Programs]\r\n" + std::string(3000, 'k') + "=Stop|x\r\nnoequals\r\n";
    garbage += "[Services]\r\n=Stop\r\n";
    const std::string profilePath = WriteProfile("garbage.ini", garbage);
    zt::RunResult run = RunController({profilePath}, InFolder());
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0u);
    // The over-long fspath is cut to 255 characters and then fails to launch; everything else ran.
    const std::string output = NormalizeMemoryFigures(run.output);
    EXPECT_EQ(output.find(Transcript(zt::StartupMessages(profilePath))), 0u);
    const std::string cut(255, 'A');
    const std::vector<std::string> phase5to9 = {
        "\r\nPhase 5: Starting Main Application",
        "\r\nStarting " + cut + " ",
        "\r\nERROR: Could not create process path = " + cut + ", error code "
            + std::to_string(zt::CreateProcessError("\"" + cut + "\" ")),
        "\r\nPhase 5:  Skipping...",
        "\r\nPhase 6:  Skipping...",
        "\r\nPhase 7:  Skipping...",
        "\r\nPhase 8:  Restarting Services",
        "\r\nPhase 9:  Restarting Programs",
        "\r\nZephlaunch Control Program finished.\r\n"};
    const size_t phase5 = output.find(zt::TextMode("\r\nPhase 5: "));
    ASSERT_NE(phase5, std::string::npos) << output;
    EXPECT_EQ(output.substr(phase5), Transcript(phase5to9));
}
