#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile/path_parts.h"
#include "profile/section_walk.h"

namespace {

std::vector<std::string> Keys(const std::string& buffer)
{
    std::vector<std::string> keys;
    profile::ForEachSectionKey(buffer.data(), buffer.size(),
                               [&](const char* key, std::size_t length) { keys.emplace_back(key, length); });
    return keys;
}

}  // namespace

TEST(SectionWalk, KeysInBufferOrderUpToTheFirstEquals)
{
    const std::string buffer("a.exe=Stop|C:\\a.exe\0B.EXE=x=y\0c=\0\0", 35);
    EXPECT_EQ(Keys(buffer), (std::vector<std::string>{"a.exe", "B.EXE", "c"}));
}

TEST(SectionWalk, SkipsLinesWithoutEqualsEmptyKeysAndOverlongKeys)
{
    std::string buffer("noequals\0=value\0", 16);
    buffer += std::string(256, 'k') + "=v";
    buffer.push_back('\0');
    buffer += std::string(255, 'k') + "=v";
    buffer.push_back('\0');
    buffer += "last=1";
    buffer.append(2, '\0');
    const auto keys = Keys(buffer);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0], std::string(255, 'k'));
    EXPECT_EQ(keys[1], "last");
}

TEST(SectionWalk, StopsAtTheBufferEndWithoutTerminator)
{
    const std::string buffer = "a=1";  // no NUL anywhere inside the given size
    EXPECT_EQ(Keys(std::string(buffer.data(), 3)), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(Keys(std::string()).empty());
    EXPECT_TRUE(Keys(std::string(1, '\0')).empty());
}

TEST(PathParts, FolderAndFileNameSplitAtTheLastBackslash)
{
    char folder[16];
    profile::FolderOfPath("C:\\Apps\\app.exe", folder, sizeof folder);
    EXPECT_STREQ(folder, "C:\\Apps");
    profile::FolderOfPath("C:\\app.exe", folder, sizeof folder);
    EXPECT_STREQ(folder, "C:\\");  // "C:" would be the drive's current folder
    profile::FolderOfPath("\\app.exe", folder, sizeof folder);
    EXPECT_STREQ(folder, "\\");
    profile::FolderOfPath("app.exe", folder, sizeof folder);
    EXPECT_STREQ(folder, "");
    profile::FolderOfPath("C:\\a very long folder name\\x.exe", folder, sizeof folder);
    EXPECT_STREQ(folder, "C:\\a very long ");
    EXPECT_STREQ(profile::FileNameOfPath("C:\\Apps\\app.exe"), "app.exe");
    EXPECT_STREQ(profile::FileNameOfPath("app.exe"), "app.exe");
    EXPECT_STREQ(profile::FileNameOfPath("C:\\Apps\\"), "");
}

TEST(PathParts, CopyTextTerminatesAndReportsTruncation)
{
    char out[4];
    EXPECT_TRUE(profile::CopyText(out, sizeof out, "abc"));
    EXPECT_STREQ(out, "abc");
    EXPECT_FALSE(profile::CopyText(out, sizeof out, "abcd"));
    EXPECT_STREQ(out, "abc");
}

TEST(PathParts, FolderExactFitAndOneByteShort)
{
    char eight[8];  // C:\Apps and the terminator
    profile::FolderOfPath("C:\\Apps\\app.exe", eight, sizeof eight);
    EXPECT_STREQ(eight, "C:\\Apps");
    char seven[7];
    profile::FolderOfPath("C:\\Apps\\app.exe", seven, sizeof seven);
    EXPECT_STREQ(seven, "C:\\App");
    char one[1];
    profile::FolderOfPath("C:\\Apps\\app.exe", one, sizeof one);
    EXPECT_STREQ(one, "");
    EXPECT_FALSE(profile::CopyText(one, sizeof one, "a"));
    EXPECT_STREQ(one, "");
    EXPECT_TRUE(profile::CopyText(one, sizeof one, ""));
}
