#include "configure_profile.h"

#include "profile/profile_keys.h"
#include "profile/section_walk.h"

namespace {

std::string ReadString(const char* file, const char* key, const char* fallback, DWORD bufferSize)
{
    std::vector<char> value(bufferSize, '\0');
    ::GetPrivateProfileStringA(profile::kConfiguration, key, fallback, value.data(), bufferSize, file);
    return value.data();
}

int ReadInt(const char* file, const char* key, int fallback)
{
    return static_cast<int>(::GetPrivateProfileIntA(profile::kConfiguration, key, fallback, file));
}

void ReadAutoStartRows(const char* file, std::vector<gui_logic::AutoStartRow>* rows)
{
    std::vector<char> section(profile::kSectionBufferSize, '\0');
    DWORD length =
        ::GetPrivateProfileSectionA(profile::kAutoStart, section.data(), profile::kSectionBufferSize, file);
    if (length == 0)
        return;
    profile::ForEachSectionKey(section.data(), section.size(), [&](const char* key, std::size_t keyLength) {
        gui_logic::AutoStartRow row;
        row.program.assign(key, keyLength);
        char value[profile::kValueBufferSize] = {};
        ::GetPrivateProfileStringA(profile::kAutoStart, row.program.c_str(), "", value, sizeof value, file);
        gui_logic::SplitAutoStartValue(value, &row.commandLine, &row.delay);
        rows->push_back(row);
    });
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ReadConfigurationEntries(const char* file)
{
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<char> section(profile::kSectionBufferSize, '\0');
    DWORD length = ::GetPrivateProfileSectionA(profile::kConfiguration, section.data(),
                                               profile::kSectionBufferSize, file);
    if (length == 0)
        return entries;
    profile::ForEachSectionKey(section.data(), section.size(), [&](const char* key, std::size_t keyLength) {
        const std::string name(key, keyLength);
        // Longer than a value the controller reads, so that a hand-written one is kept whole.
        entries.emplace_back(name, ReadString(file, name.c_str(), "", 4096));
    });
    return entries;
}

ConfigureProfile ReadConfigureProfile(const char* file, bool readIdleTasks)
{
    ConfigureProfile p;
    p.description = ReadString(file, profile::kDescription, "", profile::kValueBufferSize);
    p.appPath = ReadString(file, profile::kFsPath, profile::kNotSet, profile::kValueBufferSize);
    p.commandLine = ReadString(file, profile::kFsCmdLine, "", profile::kValueBufferSize);
    p.priority = ReadString(file, profile::kFsPriority, profile::kDefaultPriority, profile::kValueBufferSize);
    p.defragMemory = ReadInt(file, profile::kDefragMem, 0);
    if (readIdleTasks)
        p.idleTasks = ReadInt(file, profile::kProcIdleTasks, 0);
    p.nonResponseSeconds =
        static_cast<unsigned>(ReadInt(file, profile::kNonResponse, profile::kDefaultNonResponseSeconds));
    p.autoStartDelay =
        static_cast<unsigned>(ReadInt(file, profile::kAutoStartDelay, profile::kDefaultAutoStartDelay));
    p.pauseAtEnd = ReadInt(file, profile::kPauseAtEnd, 0);
    p.mainAppExe = ReadString(file, profile::kMainAppExe, "", profile::kValueBufferSize);
    const int mainAppWait = ReadInt(file, profile::kMainAppWait, profile::kDefaultMainAppWait);
    p.mainAppWait = mainAppWait > 0 ? static_cast<unsigned>(mainAppWait) : 0u;
    p.logging = ReadInt(file, profile::kLogging, 0);
    p.doNotLaunch = ReadInt(file, profile::kDoNotLaunchApp, 0);
    p.powerPlan = ReadInt(file, profile::kPowerPlan, 0);
    p.keepAwake = ReadInt(file, profile::kKeepAwake, 0);
    p.shutdown = ReadInt(file, profile::kShutdownAfterTermination, 0);
    p.restart = ReadInt(file, profile::kRestartAfterTermination, 0);
    ReadAutoStartRows(file, &p.rows);
    return p;
}

DeleteSectionCall g_deleteSectionCall = &::WritePrivateProfileSectionA;

bool DeleteProfileSection(const char* section, const char* file, DWORD* error)
{
    DWORD failure = g_deleteSectionCall(section, nullptr, file) ? ERROR_SUCCESS : ::GetLastError();
    char probe[4] = {};
    if (::GetPrivateProfileSectionA(section, probe, sizeof probe, file) == 0)
        return true;
    *error = failure != ERROR_SUCCESS ? failure : ERROR_WRITE_FAULT;
    return false;
}

bool ApplyProfileWrites(const char* file, const std::vector<gui_logic::ProfileWrite>& writes, DWORD* error)
{
    for (const gui_logic::ProfileWrite& write : writes) {
        if (write.deleteSection) {
            if (!DeleteProfileSection(write.section, file, error))
                return false;
        } else if (!::WritePrivateProfileStringA(write.section, write.key.c_str(), write.value.c_str(),
                                                 file)) {
            *error = ::GetLastError();
            return false;
        }
    }
    *error = 0;
    return true;
}
