#include "support/settings_folder.h"

#include "support/wine_harness.h"

#include <windows.h>
#include <shlobj.h>

namespace gt {

std::string AppDataFolder()
{
    char path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, path, CSIDL_APPDATA, TRUE))
        return std::string();
    return path;
}

std::string SettingsFolder() { return AppDataFolder() + "\\Zephlaunch"; }
std::string ProfilesFolder() { return SettingsFolder() + "\\profiles"; }
std::string WindowPosFile() { return SettingsFolder() + "\\zephlaunch_windowpos.ini"; }
std::string ServiceHelpFile() { return SettingsFolder() + "\\zephlaunch_service.ini"; }
std::string DefaultProfile() { return ProfilesFolder() + "\\zephlaunch.ini"; }
std::string ProfilePath(const std::string& name) { return ProfilesFolder() + "\\" + name + ".ini"; }

std::string WindowsFolder()
{
    char path[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, path, CSIDL_WINDOWS, FALSE))
        return std::string();
    return path;
}

void FreshSettingsTest::SetUp()
{
    ResetSettings();
    ASSERT_TRUE(::CreateDirectoryA(SettingsFolder().c_str(), nullptr));
    if (m_withProfilesFolder)
        ASSERT_TRUE(::CreateDirectoryA(ProfilesFolder().c_str(), nullptr));
}

void ResetSettings()
{
    const std::string settings = SettingsFolder();
    DWORD attributes = ::GetFileAttributesA(settings.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            zt::RemoveTree(settings);
        else
            ::DeleteFileA(settings.c_str());
    }
    const std::string windows = WindowsFolder();
    for (const char* name : {"zephlaunch_windowpos.ini", "zephlaunch_service.ini", "zephlaunch.ini"})
        ::DeleteFileA((windows + "\\" + name).c_str());
}

std::string IniText(const std::string& lines)
{
    std::string text;
    for (char c : lines) {
        if (c == '\n')
            text += "\r\n";
        else
            text += c;
    }
    return text;
}

}  // namespace gt
