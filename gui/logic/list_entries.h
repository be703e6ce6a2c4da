// Rows of the Programs and Services dialogs from profile entries and processes: the
// value of a [Programs] entry split into action and path, the action a running
// program shows, the processes that are never listed, and the entries of a section.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace gui_logic {

bool EqualsNoCase(const std::string& a, const std::string& b);

// Whether a text can be the key of a profile entry that reads back as it was written:
// not empty, no "=", at most 255 characters.
bool IsReadableKey(const std::string& key);

// A [Programs] value: the action before the first "|" and the path after it. A value
// without "|", or with more than 29 characters before it, is all action, no path.
struct ProgramValue {
    std::string action;
    std::string path;
};
ProgramValue SplitProgramValue(const std::string& value);
// "<action>|<path>", the value Save writes.
std::string JoinProgramValue(const std::string& action, const std::string& path);
// The longest path whose value reads back whole (255 characters) with the longest action,
// "Stop & Restart|".
constexpr std::size_t kMaxProgramPathChars = 255 - 15;

// The action a running program shows for its stored value, by the value's prefix:
// "No Action", "Stop & Restart", otherwise "Stop".
const char* RunningProgramAction(const std::string& value);

// The row text of a process, or false when the process is not listed (the GUI itself,
// the system's pseudo processes and the service hosts). On the NT family the name is
// taken as it is; on Windows 9x/ME it is a path, and the row shows its file name.
bool ProcessRowText(const std::string& processName, bool ntFamily, std::string* rowText);

// The key=value entries of a section as GetPrivateProfileSectionA returns it, in file
// order; entries without "=" and keys longer than 255 characters are left out.
using SectionEntries = std::vector<std::pair<std::string, std::string>>;
SectionEntries ParseSection(const char* buffer, std::size_t bufferSize);

// A value as GetPrivateProfileString gives it from the raw text of a section entry:
// a pair of matching quotes around it removed, cut to bufferSize - 1 characters.
std::string ProfileStringValue(const std::string& raw, std::size_t bufferSize);

// Looks keys up in one section read: the value of the first entry of a key (letter case
// ignored) as GetPrivateProfileString gives it, or fallback when there is none.
class SectionLookup {
public:
    SectionLookup(const SectionEntries& entries, std::size_t bufferSize);
    std::string Value(const std::string& key, const std::string& fallback) const;

private:
    std::vector<std::pair<std::string, std::string>> m_sorted;  // key, value; in name order
};

// The entries whose key matches none of keys (letter case ignored), in file order.
SectionEntries EntriesNotIn(const SectionEntries& entries, const std::vector<std::string>& keys);

}  // namespace gui_logic
