#include "gui/logic/configure_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gui_logic::ConfigureSettings;
using gui_logic::ProfileWrite;

struct Split {
    std::string commandLine;
    std::string delay;
};

Split SplitOf(const std::string& value)
{
    Split split;
    gui_logic::SplitAutoStartValue(value, &split.commandLine, &split.delay);
    return split;
}

TEST(AutoStartValue, SplitsAtTheLastBarAndWritesBackUnchanged)
{
    struct Case {
        const char* value;
        const char* commandLine;
        const char* delay;
        const char* writtenBack;
    };
    const Case cases[] = {
        {"-a|-b|10", "-a|-b", "10", "-a|-b|10"},
        {"/min", "/min", "0", "/min|0"},
        {"|", "", "", "|"},
        {"", "", "0", "|0"},
        {"-fast|x", "-fast", "x", "-fast|x"},
        {"|abc", "", "abc", "|abc"},
        {"a b c| 5 ", "a b c", " 5 ", "a b c| 5 "},
    };
    for (const Case& c : cases) {
        Split split = SplitOf(c.value);
        EXPECT_EQ(split.commandLine, c.commandLine) << c.value;
        EXPECT_EQ(split.delay, c.delay) << c.value;
        EXPECT_EQ(gui_logic::JoinAutoStartValue(split.commandLine, split.delay), c.writtenBack) << c.value;
    }
}

TEST(AutoStartValue, DelayTextIsCutAt99Characters)
{
    Split split = SplitOf("args|" + std::string(120, '7'));
    EXPECT_EQ(split.commandLine, "args");
    EXPECT_EQ(split.delay, std::string(99, '7'));
}

TEST(AutoStartValue, EditDialogOffersTheLeadingNumber)
{
    EXPECT_EQ(gui_logic::DelayOfText("10"), 10u);
    EXPECT_EQ(gui_logic::DelayOfText(" 12s"), 12u);
    EXPECT_EQ(gui_logic::DelayOfText("abc"), 0u);
    EXPECT_EQ(gui_logic::DelayOfText(""), 0u);
    EXPECT_EQ(gui_logic::DelayOfText("+7"), 7u);
    EXPECT_EQ(gui_logic::DelayOfText("-5"), 0u);
    EXPECT_EQ(gui_logic::DelayOfText("99999999999999999999"), 2147483647u);
}

TEST(MainAppExe, OnlyTheFileNameIsKept)
{
    EXPECT_EQ(gui_logic::ExeNameOfPath("C:\\Games\\Start\\launcher.exe"), "launcher.exe");
    EXPECT_EQ(gui_logic::ExeNameOfPath("game.exe"), "game.exe");
    EXPECT_EQ(gui_logic::ExeNameOfPath("C:\\"), "");
}

std::vector<std::string> Lines(const std::vector<ProfileWrite>& writes)
{
    std::vector<std::string> lines;
    for (const ProfileWrite& w : writes) {
        if (w.deleteSection)
            lines.push_back(std::string("delete [") + w.section + "]");
        else
            lines.push_back(std::string("[") + w.section + "] " + w.key + "=" + w.value);
    }
    return lines;
}

TEST(SaveWrites, DefaultsGiveEveryKnownKeyInOrder)
{
    ConfigureSettings settings;
    settings.appPath = "<not set>";
    settings.priority = "Normal";
    EXPECT_EQ(Lines(gui_logic::SaveWrites(settings)), (std::vector<std::string>{
                                                          "delete [Configuration]",
                                                          "delete [AutoStart]",
                                                          "[Configuration] description=",
                                                          "[Configuration] fspath=<not set>",
                                                          "[Configuration] fscmdline=",
                                                          "[Configuration] fspriority=Normal",
                                                          "[Configuration] defragmem=0",
                                                          "[Configuration] procidletasks=0",
                                                          "[Configuration] nonresponse=15",
                                                          "[Configuration] autostartdelay=30",
                                                          "[Configuration] pauseatend=0",
                                                          "[Configuration] MainAppExe=",
                                                          "[Configuration] mainappwait=120",
                                                          "[Configuration] logging=0",
                                                          "[Configuration] donotlaunchapp=0",
                                                          "[Configuration] powerplan=0",
                                                          "[Configuration] keepawake=0",
                                                      }));
}

TEST(SaveWrites, RowsComeAfterTheDelayAndShutdownRestartOnlyWhenTicked)
{
    ConfigureSettings settings;
    settings.description = "Racing night";
    settings.appPath = "C:\\Games\\racer.exe";
    settings.commandLine = "-fullscreen";
    settings.priority = "High";
    settings.defragMemory = 1;
    settings.idleTasks = 1;
    settings.nonResponseSeconds = 900;
    settings.autoStartDelay = 0;
    settings.rows = {{"C:\\Tools\\a.exe", "-a|-b", "10"}, {"C:\\Tools\\b.exe", "", ""}};
    settings.pauseAtEnd = 1;
    settings.notMainApp = true;
    settings.mainAppExe = "racer-real.exe";
    settings.logging = 1;
    settings.doNotLaunch = 1;
    settings.shutdown = true;
    settings.restart = true;
    EXPECT_EQ(Lines(gui_logic::SaveWrites(settings)), (std::vector<std::string>{
                                                          "delete [Configuration]",
                                                          "delete [AutoStart]",
                                                          "[Configuration] description=Racing night",
                                                          "[Configuration] fspath=C:\\Games\\racer.exe",
                                                          "[Configuration] fscmdline=-fullscreen",
                                                          "[Configuration] fspriority=High",
                                                          "[Configuration] defragmem=1",
                                                          "[Configuration] procidletasks=1",
                                                          "[Configuration] nonresponse=900",
                                                          "[Configuration] autostartdelay=0",
                                                          "[AutoStart] C:\\Tools\\a.exe=-a|-b|10",
                                                          "[AutoStart] C:\\Tools\\b.exe=|",
                                                          "[Configuration] pauseatend=1",
                                                          "[Configuration] MainAppExe=racer-real.exe",
                                                          "[Configuration] mainappwait=120",
                                                          "[Configuration] logging=1",
                                                          "[Configuration] donotlaunchapp=1",
                                                          "[Configuration] powerplan=0",
                                                          "[Configuration] keepawake=0",
                                                          "[Configuration] ShutdownAfterTermination=1",
                                                          "[Configuration] RestartAfterTermination=1",
                                                      }));

    settings.shutdown = false;
    settings.notMainApp = false;  // the remembered name is not written once unticked
    // Entries the dialog does not show follow in their order; its own keys (in any letter
    // case, an unticked shutdown too) are not written twice, a repeated key only once.
    settings.otherEntries = {{"handadded", "keep me"},
                             {"LOGGING", "0"},
                             {"shutdownaftertermination", "1"},
                             {"future", "2"},
                             {"Handadded", "again"}};
    std::vector<std::string> lines = Lines(gui_logic::SaveWrites(settings));
    EXPECT_EQ(lines[13], "[Configuration] MainAppExe=");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 19, lines.end()),
              (std::vector<std::string>{"[Configuration] RestartAfterTermination=1",
                                        "[Configuration] handadded=keep me", "[Configuration] future=2"}));
}

}  // namespace
