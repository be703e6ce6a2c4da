#include "gui/logic/list_entries.h"

#include "profile/entry_values.h"
#include "profile/name_compare.h"
#include "profile/profile_keys.h"
#include "profile/section_walk.h"

#include <algorithm>

namespace gui_logic {

namespace {

const std::size_t kMaxActionChars = 29;

bool NameBefore(const std::string& a, const std::string& b)
{
    return profile::CompareNames(a.c_str(), b.c_str()) < 0;
}

}  // namespace

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    return profile::SameName(a.c_str(), b.c_str());
}

bool IsReadableKey(const std::string& key)
{
    return !key.empty() && key.size() <= profile::kMaxKeyLength && key.find('=') == std::string::npos;
}

ProgramValue SplitProgramValue(const std::string& value)
{
    std::string::size_type bar = value.find('|');
    if (bar == std::string::npos || bar > kMaxActionChars)
        return {value, std::string()};
    return {value.substr(0, bar), value.substr(bar + 1)};
}

std::string JoinProgramValue(const std::string& action, const std::string& path)
{
    return action + "|" + path;
}

const char* RunningProgramAction(const std::string& value)
{
    if (profile::ProgramIsNoAction(value.c_str()))
        return "No Action";
    if (profile::ProgramIsStopRestart(value.c_str()))
        return "Stop & Restart";
    return "Stop";
}

bool ProcessRowText(const std::string& processName, bool ntFamily, std::string* rowText)
{
    for (const char* hidden : {"ZEPHLAUNCH.EXE", "[SYSTEM PROCESS]", "SVCHOST.EXE", "SYSTEM"})
        if (EqualsNoCase(processName, hidden))
            return false;
    if (ntFamily) {
        *rowText = processName;
        return true;
    }
    std::string::size_type slash = processName.rfind('\\');
    std::string file = slash == std::string::npos ? processName : processName.substr(slash + 1);
    if (file == "ZEPHLAUNCH.EXE" || file == "KERNEL32.DLL")
        return false;
    *rowText = file;
    return true;
}

SectionEntries ParseSection(const char* buffer, std::size_t bufferSize)
{
    SectionEntries entries;
    std::size_t offset = 0;
    profile::SectionEntry entry;
    while (profile::NextSectionEntry(buffer, bufferSize, offset, entry)) {
        if (entry.keyLength == 0)
            continue;
        const char* value = entry.key + entry.keyLength + 1;  // after the "="
        const char* end = value;
        const char* limit = buffer + bufferSize;
        while (end < limit && *end != '\0')
            ++end;
        entries.emplace_back(std::string(entry.key, entry.keyLength), std::string(value, end));
    }
    return entries;
}

std::string ProfileStringValue(const std::string& raw, std::size_t bufferSize)
{
    std::string value = raw;
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    if (bufferSize > 0 && value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

SectionLookup::SectionLookup(const SectionEntries& entries, std::size_t bufferSize)
{
    for (const auto& entry : entries)
        m_sorted.emplace_back(entry.first, ProfileStringValue(entry.second, bufferSize));
    // Stable: the first entry of a key stays first among its equals.
    std::stable_sort(
        m_sorted.begin(), m_sorted.end(),
        [](const std::pair<std::string, std::string>& a, const std::pair<std::string, std::string>& b) {
            return NameBefore(a.first, b.first);
        });
}

std::string SectionLookup::Value(const std::string& key, const std::string& fallback) const
{
    auto found = std::lower_bound(m_sorted.begin(), m_sorted.end(), key,
                                  [](const std::pair<std::string, std::string>& entry,
                                     const std::string& wanted) { return NameBefore(entry.first, wanted); });
    return found != m_sorted.end() && EqualsNoCase(found->first, key) ? found->second : fallback;
}

SectionEntries EntriesNotIn(const SectionEntries& entries, const std::vector<std::string>& keys)
{
    std::vector<std::string> known(keys);
    std::sort(known.begin(), known.end(), NameBefore);
    SectionEntries left;
    for (const auto& entry : entries)
        if (!std::binary_search(known.begin(), known.end(), entry.first, NameBefore))
            left.push_back(entry);
    return left;
}

}  // namespace gui_logic
