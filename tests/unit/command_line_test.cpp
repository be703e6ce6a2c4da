#include <gtest/gtest.h>

#include <string>

#include "controller/logic/command_line.h"

TEST(LaunchCommandLine, PathIsQuotedSoBlanksCannotSplitIt) {
  char line[600];
  ASSERT_TRUE(BuildLaunchCommandLine(line, sizeof line, "C:\\Program Files\\Game\\game.exe", "-window -level 3"));
  EXPECT_STREQ(line, "\"C:\\Program Files\\Game\\game.exe\" -window -level 3");
  ASSERT_TRUE(BuildLaunchCommandLine(line, sizeof line, "C:\\Apps\\app.exe", ""));
  EXPECT_STREQ(line, "\"C:\\Apps\\app.exe\" ");  // the blank stays, as in the shown text
}

TEST(LaunchCommandLine, PathHoldingAQuoteIsLeftAlone) {
  char line[600];
  ASSERT_TRUE(BuildLaunchCommandLine(line, sizeof line, "\"C:\\A B\\app.exe\"", "x"));
  EXPECT_STREQ(line, "\"C:\\A B\\app.exe\" x");
}

TEST(LaunchCommandLine, LongestProfileValuesFitAndTooSmallBuffersRefuse) {
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

TEST(LaunchText, PathBlankArgumentsUnquoted) {
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
