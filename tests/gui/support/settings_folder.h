// The GUI's settings folder in the test prefix (the per-user application data folder
// followed by "Zephlaunch") and the older installation's place in the Windows folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace gt {

std::string AppDataFolder();
std::string SettingsFolder();
std::string ProfilesFolder();
std::string WindowPosFile();
std::string ServiceHelpFile();
std::string DefaultProfile();
std::string ProfilePath(const std::string& name);
std::string WindowsFolder();

// Removes the settings folder (or a file of that name) and the older installation's
// three files from the Windows folder, so that the next start is a first start.
void ResetSettings();

// A GUI test that starts with an empty settings folder (and an empty profiles folder in it
// when asked) and leaves no settings behind.
class FreshSettingsTest : public ::testing::Test {
protected:
    explicit FreshSettingsTest(bool withProfilesFolder = false) : m_withProfilesFolder(withProfilesFolder) {}
    void SetUp() override;
    void TearDown() override { ResetSettings(); }

private:
    bool m_withProfilesFolder;
};

// Byte-exact INI text for fixtures (lines joined with "\r\n").
std::string IniText(const std::string& lines);

}  // namespace gt
