#include <gtest/gtest.h>

#include <string>

#include "controller/logic/command_line.h"

TEST(LaunchCommandLine, PathIsQuotedSoBlanksCannotSplitIt)
{
    char line[600];
    ASSERT_TRUE(
        BuildLaunchCommandLine(line, sizeof line, "C:\\Program Files\\Game\\game.exe", "-window -level 3"));
    EXPECT_STREQ(line, "\"C:\\Program Files\\Game\\game.exe\" -window -level 3");
    ASSERT_TRUE(BuildLaunchCommandLine(line, sizeof line, "C:\\Apps\\app.exe", ""));
    EXPECT_STREQ(line, "\"C:\\Apps\\app.exe\" ");  // the blank stays, as in the shown text
}

TEST(LaunchCommandLine, PathHoldingAQuoteIsLeftAlone)
{
    char line[600];
    ASSERT_TRUE(BuildLaunchCommandLine(line, sizeof line, "\"C:\\A B\\app.exe\"", "x"));
    EXPECT_STREQ(line, "\"C:\\A B\\app.exe\" x");
}

TEST(LaunchCommandLine, LongestProfileValuesFitAndTooSmallBuffersRefuse)
{
    const std::string path = "C:\\" + std::string(248, 'p') + ".exe";  // 255 characters
    const std::string arguments(255, 'a');
    char line[520];
    ASSERT_TRUE(BuildLaunchCommandLine(line, sizeof line, path.c_str(), arguments.c_str()));
    EXPECT_EQ(std::string(line), "\"" + path + "\" " + arguments);

    char small[16];
    EXPECT_FALSE(BuildLaunchCommandLine(small, sizeof small, "C:\\Apps\\app.exe", "-x"));
    EXPECT_STREQ(small, "");  // never a cut command line
    EXPECT_FALSE(BuildLaunchCommandLine(small, 0, "a", "b"));
}

TEST(LaunchText, PathBlankArgumentsUnquoted)
{
    char text[600];
    ASSERT_TRUE(FormatLaunchText(text, sizeof text, "C:\\Program Files\\Game\\game.exe", "-fast"));
    EXPECT_STREQ(text, "C:\\Program Files\\Game\\game.exe -fast");
    ASSERT_TRUE(FormatLaunchText(text, sizeof text, "C:\\Tools\\mon.exe", ""));
    EXPECT_STREQ(text, "C:\\Tools\\mon.exe ");
    ASSERT_TRUE(FormatLaunchText(text, sizeof text, "C:\\100%\\a.exe", "%s%n"));
    EXPECT_STREQ(text, "C:\\100%\\a.exe %s%n");
    char small[8];
    EXPECT_FALSE(FormatLaunchText(small, sizeof small, "C:\\Tools\\mon.exe", ""));
    EXPECT_STREQ(small, "C:\\Tool");
}

// One rule for the main application, the auto-start programs and the restarted programs:
// a value that starts with a quote is a command line already and is not quoted again.
TEST(QuotedProgramPath, ValueStartingWithAQuoteIsLeftAsItIs)
{
    char line[64];
    ASSERT_TRUE(QuotedProgramPath(line, sizeof line, "\"C:\\x y\\tool.exe\" -min"));
    EXPECT_STREQ(line, "\"C:\\x y\\tool.exe\" -min");
    ASSERT_TRUE(QuotedProgramPath(line, sizeof line, "  \"C:\\x y\\tool.exe\""));
    EXPECT_STREQ(line, "  \"C:\\x y\\tool.exe\"");
    ASSERT_TRUE(BuildLaunchCommandLine(line, sizeof line, "\"C:\\x y\\tool.exe\" -min", "-x"));
    EXPECT_STREQ(line, "\"C:\\x y\\tool.exe\" -min -x");
    // A quote further in would end the quotes early and start C:\odd.exe: refused.
    EXPECT_FALSE(QuotedProgramPath(line, sizeof line, "C:\\odd\"name.exe"));
    EXPECT_STREQ(line, "");
}

TEST(QuotedProgramPath, ExactFitAndOneByteShort)
{
    // "a b" as it is: 5 characters and the terminator.
    char six[6];
    ASSERT_TRUE(QuotedProgramPath(six, sizeof six, "\"a b\""));
    EXPECT_STREQ(six, "\"a b\"");
    char five[5];
    EXPECT_FALSE(QuotedProgramPath(five, sizeof five, "\"a b\""));
    EXPECT_STREQ(five, "");
}

TEST(LaunchCommandLine, ExactFitAndOneByteShort)
{
    // "a.exe" -x: 10 characters and the terminator.
    char eleven[11];
    ASSERT_TRUE(BuildLaunchCommandLine(eleven, sizeof eleven, "a.exe", "-x"));
    EXPECT_STREQ(eleven, "\"a.exe\" -x");
    char ten[10];
    EXPECT_FALSE(BuildLaunchCommandLine(ten, sizeof ten, "a.exe", "-x"));
    EXPECT_STREQ(ten, "");
    // An empty path still gives a command line for CreateProcessA to refuse.
    ASSERT_TRUE(BuildLaunchCommandLine(eleven, sizeof eleven, "", "-x"));
    EXPECT_STREQ(eleven, "\"\" -x");
}

TEST(ProgramFolder, FolderOfThePathOrOfTheQuotedProgram)
{
    char folder[32];
    ProgramFolder("C:\\Apps\\app.exe", folder, sizeof folder);
    EXPECT_STREQ(folder, "C:\\Apps");
    ProgramFolder("\"C:\\x y\\tool.exe\" -min C:\\other\\file.txt", folder, sizeof folder);
    EXPECT_STREQ(folder, "C:\\x y");
    ProgramFolder("\"C:\\x y\\tool.exe", folder, sizeof folder);  // no closing quote
    EXPECT_STREQ(folder, "C:\\x y");
    ProgramFolder("\"tool.exe\" -min", folder, sizeof folder);
    EXPECT_STREQ(folder, "");
    ProgramFolder(nullptr, folder, sizeof folder);
    EXPECT_STREQ(folder, "");
}

TEST(ProgramFolder, ExactFitAndOneByteShort)
{
    char seven[7];  // C:\x y and the terminator
    ProgramFolder("\"C:\\x y\\tool.exe\" -min", seven, sizeof seven);
    EXPECT_STREQ(seven, "C:\\x y");
    char six[6];
    ProgramFolder("\"C:\\x y\\tool.exe\" -min", six, sizeof six);
    EXPECT_STREQ(six, "C:\\x ");
}

TEST(LaunchText, ExactFitAndOneByteShort)
{
    char four[4];  // "a b" and the terminator
    EXPECT_TRUE(FormatLaunchText(four, sizeof four, "a", "b"));
    EXPECT_STREQ(four, "a b");
    char three[3];
    EXPECT_FALSE(FormatLaunchText(three, sizeof three, "a", "b"));
    EXPECT_STREQ(three, "a ");  // shown cut, never used as a command line
}

TEST(RunSwitch, DashesOrSlashInAnyCaseAndNothingElse)
{
    EXPECT_EQ(ParseRunSwitch("--restore"), RunSwitch::Restore);
    EXPECT_EQ(ParseRunSwitch("/Restore"), RunSwitch::Restore);
    EXPECT_EQ(ParseRunSwitch("--dry-run"), RunSwitch::DryRun);
    EXPECT_EQ(ParseRunSwitch("/DRY-RUN"), RunSwitch::DryRun);
    EXPECT_EQ(ParseRunSwitch("-restore"), RunSwitch::None);
    EXPECT_EQ(ParseRunSwitch("restore"), RunSwitch::None);
    EXPECT_EQ(ParseRunSwitch("C:\\profiles\\restore.ini"), RunSwitch::None);
    EXPECT_EQ(ParseRunSwitch("--restorex"), RunSwitch::None);
    EXPECT_EQ(ParseRunSwitch(nullptr), RunSwitch::None);
    EXPECT_EQ(ParseRunSwitch("/User-Process"), RunSwitch::UserProcess);
    unsigned long id = 0;
    EXPECT_TRUE(ParseProcessId("4294967295", id) && id == 4294967295ul);
    for (const char* wrong : {"", "0", "12a", "-3", "4294967296", "99999999999999999999"})
        EXPECT_FALSE(ParseProcessId(wrong, id)) << wrong;
}
