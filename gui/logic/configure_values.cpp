#include "gui/logic/configure_values.h"

#include "profile/entry_values.h"
#include "profile/name_compare.h"
#include "profile/profile_keys.h"

namespace gui_logic {

void SplitAutoStartValue(const std::string& value, std::string* commandLine, std::string* delay)
{
    std::string::size_type bar = value.rfind('|');
    if (bar == std::string::npos) {
        *commandLine = value;
        *delay = "0";
        return;
    }
    *commandLine = value.substr(0, bar);
    *delay = value.substr(bar + 1, kMaxDelayTextChars);
}

std::string JoinAutoStartValue(const std::string& commandLine, const std::string& delay)
{
    return commandLine + "|" + delay;
}

unsigned DelayOfText(const std::string& delay)
{
    int value = profile::LeadingInteger(delay.c_str());
    return value > 0 ? static_cast<unsigned>(value) : 0u;
}

std::string ExeNameOfPath(const std::string& path)
{
    std::string::size_type slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

namespace {

void Add(std::vector<ProfileWrite>* writes, const char* section, const char* key, const std::string& value)
{
    ProfileWrite write;
    write.section = section;
    write.key = key;
    write.value = value;
    writes->push_back(write);
}

const char* OneOrZero(int ticked) { return ticked == 1 ? "1" : "0"; }

}  // namespace

std::vector<ProfileWrite> SaveWrites(const ConfigureSettings& s)
{
    std::vector<ProfileWrite> writes;
    for (const char* section : {profile::kConfiguration, profile::kAutoStart}) {
        ProfileWrite erase;
        erase.deleteSection = true;
        erase.section = section;
        writes.push_back(erase);
    }
    const char* config = profile::kConfiguration;
    Add(&writes, config, profile::kDescription, s.description);
    Add(&writes, config, profile::kFsPath, s.appPath);
    Add(&writes, config, profile::kFsCmdLine, s.commandLine);
    Add(&writes, config, profile::kFsPriority, s.priority);
    Add(&writes, config, profile::kDefragMem, OneOrZero(s.defragMemory));
    Add(&writes, config, profile::kProcIdleTasks, OneOrZero(s.idleTasks));
    Add(&writes, config, profile::kNonResponse, std::to_string(s.nonResponseSeconds));
    Add(&writes, config, profile::kAutoStartDelay, std::to_string(s.autoStartDelay));
    for (const AutoStartRow& row : s.rows)
        Add(&writes, profile::kAutoStart, row.program.c_str(),
            JoinAutoStartValue(row.commandLine, row.delay));
    Add(&writes, config, profile::kPauseAtEnd, std::to_string(s.pauseAtEnd));
    Add(&writes, config, profile::kMainAppExe, s.notMainApp ? s.mainAppExe : std::string());
    Add(&writes, config, profile::kMainAppWait, std::to_string(s.mainAppWait));
    Add(&writes, config, profile::kLogging, std::to_string(s.logging));
    Add(&writes, config, profile::kDoNotLaunchApp, std::to_string(s.doNotLaunch));
    Add(&writes, config, profile::kPowerPlan, OneOrZero(s.powerPlan));
    Add(&writes, config, profile::kKeepAwake, OneOrZero(s.keepAwake));
    if (s.shutdown)
        Add(&writes, config, profile::kShutdownAfterTermination, "1");
    if (s.restart)
        Add(&writes, config, profile::kRestartAfterTermination, "1");
    // Owned: every key written above, and the two written only when ticked.
    std::vector<std::string> owned = {profile::kShutdownAfterTermination, profile::kRestartAfterTermination};
    for (const ProfileWrite& write : writes) {
        if (!write.deleteSection && profile::SameName(write.section, config))
            owned.push_back(write.key);
    }
    for (const auto& entry : s.otherEntries) {
        bool taken = false;
        for (const std::string& key : owned)
            taken = taken || profile::SameName(key.c_str(), entry.first.c_str());
        if (!taken) {
            Add(&writes, config, entry.first.c_str(), entry.second);
            owned.push_back(entry.first);  // a key twice in the file: its first value, once
        }
    }
    return writes;
}

}  // namespace gui_logic
