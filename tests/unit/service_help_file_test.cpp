// Checks the service help texts shipped in gui/res: the file must read back through the
// profile functions exactly as the Services dialog reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "profile/section_walk.h"

#ifdef _WIN32
#include <windows.h>
#endif

#ifndef ZEPH_SERVICE_HELP_FILE
#error "ZEPH_SERVICE_HELP_FILE must name the service help file"
#endif

namespace {

constexpr std::size_t kMaxLine = 511;          // the dialog reads values into 512 bytes
constexpr std::size_t kMaxKey = 255;           // longer keys are never matched
constexpr std::size_t kSectionBuffer = 32767;  // the dialog reads the whole section into this
constexpr std::size_t kMinEntries = 150;

struct Entry {
    std::string key;
    std::string value;
    int line;
};

std::string ReadRaw()
{
    std::ifstream in(ZEPH_SERVICE_HELP_FILE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> SplitLines(const std::string& raw)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find('\n', start);
        if (end == std::string::npos)
            end = raw.size();
        std::string line = raw.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Parses the file, reporting every line that breaks the format as a test failure.
std::vector<Entry> ParseEntries(const std::string& raw)
{
    std::vector<Entry> entries;
    bool inSection = false;
    int number = 0;
    for (const std::string& line : SplitLines(raw)) {
        ++number;
        EXPECT_LE(line.size(), kMaxLine) << "line " << number;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            EXPECT_FALSE(inSection) << "second section header on line " << number;
            EXPECT_EQ(line, "[ServicesHelp]") << "line " << number;
            inSection = true;
            continue;
        }
        EXPECT_TRUE(inSection) << "entry before the section header on line " << number;
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            ADD_FAILURE() << "line " << number << " is not key=value: " << line;
            continue;
        }
        entries.push_back({line.substr(0, equals), line.substr(equals + 1), number});
    }
    EXPECT_TRUE(inSection) << "no [ServicesHelp] section";
    return entries;
}

class ServiceHelpFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        raw_ = ReadRaw();
        ASSERT_FALSE(raw_.empty()) << "cannot read " << ZEPH_SERVICE_HELP_FILE;
        entries_ = ParseEntries(raw_);
    }

    std::string raw_;
    std::vector<Entry> entries_;
};

TEST_F(ServiceHelpFile, IsPlainAsciiWithWindowsLineEnds)
{
    std::size_t bad = raw_.size();
    for (std::size_t i = 0; i < raw_.size() && bad == raw_.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(raw_[i]);
        if (c == '\n') {
            if (i == 0 || raw_[i - 1] != '\r')
                bad = i;
        } else if (c == '\r') {
            if (i + 1 == raw_.size() || raw_[i + 1] != '\n')
                bad = i;
        } else if (c < 0x20 || c >= 0x7f) {
            bad = i;
        }
    }
    EXPECT_EQ(bad, raw_.size()) << "bare CR or LF, or a byte that is not printable ASCII, at byte " << bad;
    EXPECT_TRUE(EndsWith(raw_, "\r\n")) << "the last line has no line end";
    EXPECT_EQ(raw_.compare(0, 1, ";"), 0) << "the file should open with a comment saying what it is";
}

TEST_F(ServiceHelpFile, EveryEntryIsOneUsableLineWithAVerdict)
{
    ASSERT_GE(entries_.size(), kMinEntries);
    std::map<std::string, int> seen;
    for (const Entry& e : entries_) {
        SCOPED_TRACE("line " + std::to_string(e.line) + ": " + e.key);
        EXPECT_FALSE(e.key.empty());
        EXPECT_LE(e.key.size(), kMaxKey);
        EXPECT_EQ(e.key.find_first_of(" \t\\/,"), std::string::npos) << "not a service key name";
        const auto inserted = seen.emplace(Lower(e.key), e.line);
        EXPECT_TRUE(inserted.second) << "same key (ignoring case) as line " << inserted.first->second;

        ASSERT_FALSE(e.value.empty());
        // The profile functions would strip these, or cut the value at them.
        EXPECT_NE(e.value.front(), ' ');
        EXPECT_NE(e.value.back(), ' ');
        EXPECT_EQ(e.value.find('"'), std::string::npos);
        EXPECT_EQ(e.value.find('='), std::string::npos);
        EXPECT_EQ(e.value.find('\t'), std::string::npos);

        const bool safe = EndsWith(e.value, ". Safe to stop for a game.");
        const bool idle = EndsWith(e.value, ". Pointless to stop: it uses almost nothing while idle.");
        const std::size_t doNot = e.value.find(". Do not stop: ");
        const bool harmful =
            doNot != std::string::npos && EndsWith(e.value, ".") && e.value.size() > doNot + 16;
        EXPECT_EQ(int(safe) + int(idle) + int(harmful), 1)
            << "needs exactly one closing verdict: " << e.value;
    }
}

TEST_F(ServiceHelpFile, WellKnownServicesHaveTheirVerdicts)
{
    std::map<std::string, std::string> byKey;
    for (const Entry& e : entries_)
        byKey[Lower(e.key)] = e.value;
    const char* const safe[] = {"Spooler", "wuauserv", "BITS", "WSearch", "SysMain", "DiagTrack"};
    for (const char* key : safe) {
        ASSERT_EQ(byKey.count(Lower(key)), 1u) << key;
        EXPECT_TRUE(EndsWith(byKey[Lower(key)], "Safe to stop for a game.")) << key;
    }
    // Stopping any of these breaks Windows, sound or the network under a running game.
    const char* const vital[] = {
        "RpcSs",    "DcomLaunch", "RpcEptMapper",         "SamSs", "PlugPlay", "Power",
        "EventLog", "Audiosrv",   "AudioEndpointBuilder", "Dhcp",  "Dnscache"};
    for (const char* key : vital) {
        ASSERT_EQ(byKey.count(Lower(key)), 1u) << key;
        EXPECT_NE(byKey[Lower(key)].find("Do not stop: "), std::string::npos) << key;
    }
}

// The dialog reads the whole section with one GetPrivateProfileSection call into a fixed buffer;
// entries beyond it would silently never be found.
TEST_F(ServiceHelpFile, WholeSectionFitsTheDialogsBufferAndWalksToTheSameKeys)
{
    std::string section;
    for (const Entry& e : entries_) {
        section += e.key + "=" + e.value;
        section.push_back('\0');
    }
    section.push_back('\0');
    EXPECT_LE(section.size(), kSectionBuffer - 1) << "the section would be cut short";

    std::vector<std::string> walked;
    profile::ForEachSectionKey(section.data(), section.size(), [&](const char* key, std::size_t length) {
        walked.emplace_back(key, length);
    });
    ASSERT_EQ(walked.size(), entries_.size());
    for (std::size_t i = 0; i < walked.size(); ++i)
        EXPECT_EQ(walked[i], entries_[i].key);
}

#ifdef _WIN32
// Reads the file through the same calls and buffer sizes as the Services dialog.
TEST_F(ServiceHelpFile, ProfileFunctionsReturnEveryEntryIntact)
{
    std::string path = ZEPH_SERVICE_HELP_FILE;
    std::replace(path.begin(), path.end(), '/', '\\');

    std::vector<char> buffer(kSectionBuffer);
    const DWORD got =
        ::GetPrivateProfileSectionA("ServicesHelp", buffer.data(), DWORD(buffer.size()), path.c_str());
    ASSERT_GT(got, 0u) << "section not found in " << path;
    ASSERT_LT(got, DWORD(buffer.size() - 2)) << "section truncated";

    std::vector<std::string> walked;
    profile::ForEachSectionKey(buffer.data(), got + 1, [&](const char* key, std::size_t length) {
        walked.emplace_back(key, length);
    });
    ASSERT_EQ(walked.size(), entries_.size());

    for (std::size_t i = 0; i < walked.size(); ++i) {
        const Entry& e = entries_[i];
        EXPECT_EQ(walked[i], e.key);
        char value[512];
        ::GetPrivateProfileStringA("ServicesHelp", walked[i].c_str(), "No Help found.", value, sizeof value,
                                   path.c_str());
        EXPECT_EQ(std::string(value), e.value) << e.key;
    }
}
#endif

}  // namespace
