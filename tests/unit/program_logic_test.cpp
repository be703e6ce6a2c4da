// The pure rules of phases 2 and 9: name matching, the close wait, the restart command
// line, the not-running list, repeated keys and the bound on attempts to end a process.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "controller/logic/command_line.h"
#include "controller/logic/program_key_set.h"
#include "controller/logic/program_names.h"
#include "controller/logic/program_not_running.h"
#include "controller/logic/program_stop_attempts.h"
#include "profile/profile_keys.h"

TEST(ProgramNames, ComparableNameIsTheWholeNameOnNtAndTheFileNameOn9x)
{
    EXPECT_STREQ(ComparableProcessName("notepad.exe", true), "notepad.exe");
    // On NT 4.0 the walk reports full paths, which are compared whole (and so never match a key).
    EXPECT_STREQ(ComparableProcessName("C:\\WINNT\\notepad.exe", true), "C:\\WINNT\\notepad.exe");
    EXPECT_STREQ(ComparableProcessName("C:\\WINDOWS\\NOTEPAD.EXE", false), "NOTEPAD.EXE");
    EXPECT_STREQ(ComparableProcessName("notepad.exe", false), "notepad.exe");
    EXPECT_STREQ(ComparableProcessName("C:\\dir\\", false), "");
    EXPECT_STREQ(ComparableProcessName(nullptr, true), "");
}

TEST(ProgramNames, CaseIsIgnoredForLettersOnly)
{
    EXPECT_TRUE(SameTextIgnoringCase("Explorer.EXE", "explorer.exe"));
    EXPECT_TRUE(SameTextIgnoringCase("", ""));
    EXPECT_FALSE(SameTextIgnoringCase("app.exe", "app.exe "));
    EXPECT_FALSE(SameTextIgnoringCase("app.ex", "app.exe"));
    EXPECT_FALSE(
        SameTextIgnoringCase("app[.exe", "app{.exe"));  // '[' and '{' differ by 32 but are not letters
    EXPECT_FALSE(SameTextIgnoringCase("a", nullptr));
}

TEST(ProgramNames, OnlyTheExactShellKeyGetsShellHandling)
{
    EXPECT_TRUE(IsShellProgramKey("explorer.exe"));
    EXPECT_FALSE(IsShellProgramKey("Explorer.exe"));
    EXPECT_FALSE(IsShellProgramKey("EXPLORER.EXE"));
    EXPECT_FALSE(IsShellProgramKey("explorer.exe "));
    EXPECT_FALSE(IsShellProgramKey(nullptr));
}

TEST(ProgramNames, CloseWaitIsNonResponseSecondsWithNegativeAsZeroAndHugeHeld)
{
    // The defaults of a profile without the keys (the runs under Wine wait them only shortened).
    EXPECT_EQ(profile::kDefaultNonResponseSeconds, 15);
    EXPECT_EQ(profile::kDefaultAutoStartDelay, 30);
    EXPECT_EQ(CloseWaitMilliseconds(15), 15000UL);
    EXPECT_EQ(CloseWaitMilliseconds(0), 0UL);
    EXPECT_EQ(CloseWaitMilliseconds(-5), 0UL);
    EXPECT_EQ(CloseWaitMilliseconds(900), 900000UL);
    // 2147483647 s would overflow the 32-bit millisecond count; it is held at one day.
    EXPECT_EQ(CloseWaitMilliseconds(2147483647), 86400000UL);
}

TEST(ProgramNames, RestartCommandLineQuotesExactlyThePath)
{
    char line[64];
    ASSERT_TRUE(QuotedProgramPath(line, sizeof line, "C:\\Program Files\\App\\app.exe"));
    EXPECT_STREQ(line, "\"C:\\Program Files\\App\\app.exe\"");

    EXPECT_FALSE(QuotedProgramPath(line, sizeof line, ""));
    EXPECT_STREQ(line, "");
    EXPECT_FALSE(QuotedProgramPath(line, sizeof line, nullptr));

    // Exactly fitting: 5 characters, two quotes and the terminator need 8 bytes.
    char small[8];
    ASSERT_TRUE(QuotedProgramPath(small, sizeof small, "a.exe"));
    EXPECT_STREQ(small, "\"a.exe\"");
    char tooSmall[7];
    EXPECT_FALSE(QuotedProgramPath(tooSmall, sizeof tooSmall, "a.exe"));
    EXPECT_STREQ(tooSmall, "");
}

TEST(NotRunningList, KeepsEveryEntryBeyondSixtyFourAndComparesWithoutCase)
{
    NotRunningList list;
    EXPECT_FALSE(list.Contains(""));
    char path[64];
    for (int i = 0; i < 100; ++i) {
        std::snprintf(path, sizeof path, "C:\\Apps\\prog_%03d.exe", i);
        list.Add(path);
    }
    EXPECT_EQ(list.Count(), 100u);
    EXPECT_TRUE(list.Contains("C:\\Apps\\prog_000.exe"));
    EXPECT_TRUE(list.Contains("c:\\apps\\PROG_064.EXE"));
    EXPECT_TRUE(list.Contains("C:\\Apps\\prog_099.exe"));
    EXPECT_FALSE(list.Contains("C:\\Apps\\prog_100.exe"));
    EXPECT_FALSE(list.Contains(""));

    // The empty text recorded for a short value matches only an empty restart path.
    list.Add(nullptr);
    EXPECT_TRUE(list.Contains(""));
    EXPECT_TRUE(list.Contains(nullptr));
}

TEST(ProgramKeySet, RepeatsInAnyLetterCaseAreOneEntry)
{
    ProgramKeySet keys;
    EXPECT_TRUE(keys.Insert("notepad.exe"));
    EXPECT_FALSE(keys.Insert("NOTEPAD.EXE"));
    EXPECT_FALSE(keys.Insert("notepad.exe"));
    EXPECT_TRUE(keys.Insert("notepad.ex"));
    EXPECT_TRUE(keys.Insert("explorer.exe"));
    EXPECT_FALSE(keys.Insert("Explorer.exe"));
}

TEST(StopAttempts, GivesUpOnOneProcessAfterItsThirdAttemptOnly)
{
    StopAttempts attempts;
    EXPECT_FALSE(attempts.RecordAttempt(100));
    EXPECT_FALSE(attempts.RecordAttempt(200));  // other instances count separately
    EXPECT_FALSE(attempts.RecordAttempt(100));
    EXPECT_TRUE(attempts.RecordAttempt(100));
    // Reported once: later attempts (there should be none) do not report again.
    EXPECT_FALSE(attempts.RecordAttempt(100));
    EXPECT_FALSE(attempts.RecordAttempt(200));
    EXPECT_TRUE(attempts.RecordAttempt(200));
    EXPECT_FALSE(attempts.PassLimitReached());
}

TEST(StopAttempts, EndsAProgramThatKeepsStartingNewInstances)
{
    StopAttempts attempts;
    // 1000 passes in all, each ending a new instance: 999 leave the limit unreached.
    for (unsigned long pid = 1; pid < 1000; ++pid) {
        EXPECT_FALSE(attempts.RecordAttempt(pid * 4));
        ASSERT_FALSE(attempts.PassLimitReached());
    }
    attempts.RecordAttempt(999999);
    EXPECT_TRUE(attempts.PassLimitReached());
}
