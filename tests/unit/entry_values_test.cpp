#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "profile/entry_values.h"
#include "profile/priority_text.h"

using namespace profile;

TEST(PriorityText, SixTextsMapToTheirClassesAndEverythingElseIsNormal)
{
    EXPECT_EQ(PriorityClassFromText("Realtime"), 0x100u);
    EXPECT_EQ(PriorityClassFromText("High"), 0x80u);
    EXPECT_EQ(PriorityClassFromText("Above Normal"), 0x8000u);
    EXPECT_EQ(PriorityClassFromText("Normal"), 0x20u);
    EXPECT_EQ(PriorityClassFromText("Below Normal"), 0x4000u);
    EXPECT_EQ(PriorityClassFromText("Low"), 0x40u);
    // Whole value, case-sensitive.
    EXPECT_EQ(PriorityClassFromText("high"), 0x20u);
    EXPECT_EQ(PriorityClassFromText(""), 0x20u);
    EXPECT_EQ(PriorityClassFromText("High "), 0x20u);
    EXPECT_EQ(PriorityClassFromText("Lowest"), 0x20u);
    EXPECT_EQ(PriorityClassFromText(nullptr), 0x20u);
}

TEST(ProgramValue, PrefixTestsDecideStopAndRestart)
{
    EXPECT_TRUE(ProgramIsNoAction("No Action|C:\\x.exe"));
    EXPECT_TRUE(ProgramIsNoAction("No Actionable"));
    EXPECT_FALSE(ProgramIsNoAction("no action|C:\\x.exe"));
    EXPECT_FALSE(ProgramIsNoAction("No Actio"));
    EXPECT_TRUE(ProgramIsStopRestart("Stop & Restart|C:\\x.exe"));
    EXPECT_TRUE(ProgramIsStopRestart("Stop & Restart"));
    EXPECT_FALSE(ProgramIsStopRestart("Stop|C:\\x.exe"));
    EXPECT_FALSE(ProgramIsStopRestart("Stop & Restar"));
}

TEST(ProgramValue, PathIsTheTextFromTheSixteenthCharacterAndEmptyForShortValues)
{
    EXPECT_STREQ(ProgramPathPart("Stop & Restart|C:\\Program Files\\x.exe"), "C:\\Program Files\\x.exe");
    EXPECT_STREQ(ProgramPathPart("Stop & Restart|"), "");
    EXPECT_STREQ(ProgramPathPart("Stop & Restart"), "");  // 14 characters: nothing to read past
    EXPECT_STREQ(ProgramPathPart("Stop"), "");
    EXPECT_STREQ(ProgramPathPart(""), "");
    EXPECT_STREQ(ProgramPathPart("Stop|C:\\tools\\a.exe"),
                 ".exe");  // a plain offset, as the stored format gives
}

TEST(ServiceValue, WholeValuesCaseSensitive)
{
    EXPECT_TRUE(ServiceIsNoAction("No Action"));
    EXPECT_FALSE(ServiceIsNoAction("No Action "));
    EXPECT_FALSE(ServiceIsNoAction("no action"));
    EXPECT_FALSE(ServiceRestarts("No Action"));
    EXPECT_FALSE(ServiceRestarts("Stop"));
    EXPECT_TRUE(ServiceRestarts("Stop & Restart"));
    EXPECT_TRUE(ServiceRestarts("stop"));  // lower case is neither text: stopped and restarted
    EXPECT_TRUE(ServiceRestarts(""));
}

TEST(AutoStartValue, ArgumentsUpToFirstBarDelayAfterLastBar)
{
    char args[256];
    AutoStartArguments("|", args, sizeof args);
    EXPECT_STREQ(args, "");
    EXPECT_EQ(AutoStartDelay("|"), 0);

    AutoStartArguments("-fast|x", args, sizeof args);
    EXPECT_STREQ(args, "-fast");
    EXPECT_EQ(AutoStartDelay("-fast|x"), 0);

    AutoStartArguments("-a|b|12", args, sizeof args);
    EXPECT_STREQ(args, "-a");
    EXPECT_EQ(AutoStartDelay("-a|b|12"), 12);

    AutoStartArguments("-window -x", args, sizeof args);
    EXPECT_STREQ(args, "-window -x");
    EXPECT_EQ(AutoStartDelay("-window -x"), 0);

    EXPECT_EQ(AutoStartDelay("x|  -3"), -3);
    EXPECT_EQ(AutoStartDelay("x|+7s"), 7);
}

TEST(AutoStartValue, ArgumentsAreCutToTheBuffer)
{
    char args[4];
    AutoStartArguments("abcdefg|1", args, sizeof args);
    EXPECT_STREQ(args, "abc");
}

TEST(AutoStartValue, ArgumentsExactFitAndOneByteShort)
{
    char four[4];
    AutoStartArguments("abc|1", four, sizeof four);
    EXPECT_STREQ(four, "abc");
    AutoStartArguments("abc", four, sizeof four);  // no bar: the whole value
    EXPECT_STREQ(four, "abc");
    char three[3];
    AutoStartArguments("abc|1", three, sizeof three);
    EXPECT_STREQ(three, "ab");
    char one[1];
    AutoStartArguments("abc|1", one, sizeof one);
    EXPECT_STREQ(one, "");
    // The longest profile value, 255 characters, fills a 256-byte buffer exactly.
    const std::string longest = std::string(250, 'a') + "|1234";
    char value[256];
    AutoStartArguments(longest.c_str(), value, sizeof value);
    EXPECT_EQ(std::string(value), std::string(250, 'a'));
    EXPECT_EQ(AutoStartDelay(longest.c_str()), 1234);
}

TEST(ProgramValue, PathStartsExactlyAtTheSixteenthCharacter)
{
    EXPECT_STREQ(ProgramPathPart("Stop & Restart|x"), "x");  // 16 characters: one of path
    EXPECT_STREQ(ProgramPathPart("Stop & Restart_"), "");    // 15 characters: none
}

TEST(LeadingInteger, ReadsLikeAtoiButNeverOverflows)
{
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_EQ(LeadingInteger(" \t42x"), 42);
    EXPECT_EQ(LeadingInteger("-"), 0);
    EXPECT_EQ(LeadingInteger("2147483647"), INT_MAX);
    EXPECT_EQ(LeadingInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(LeadingInteger("-2147483648"), INT_MIN);
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), INT_MIN);
}
