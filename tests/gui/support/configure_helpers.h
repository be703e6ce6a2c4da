// Running the Configure dialog in a test as the main window runs it, and reading back
// what it shows and what it saved.
#pragma once

#include "support/gui_driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace gt {

extern const char kConfigureTitle[];  // "Zephlaunch Configuration"
extern const char kEditTitle[];       // "Edit Auto Start Program"
extern const int kLaunchControls[6];  // switched off by "Do not launch any app, just pause"

// A fresh settings folder with its profiles folder; the dialog edits the default
// profile's file, which each test writes (or leaves missing).
class ConfigureTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static std::string Profile();
    static void WriteProfile(const std::string& lines);
    // Runs CConfigureDlg modally with the driver's script; returns the dialog's result.
    static INT_PTR RunConfigure(GuiDriver& driver);
    // [ConfigureWindow] of the window-position file as "l,t,r,b".
    static std::string SavedRect();
};

// What the dialog shows.
struct ConfigureView {
    std::string description, appPath, commandLine, priority, nonResponse, autoStartDelay;
    std::string
        ticked;  // names of the ticked boxes: defrag idle pause notmain logging donotlaunch shutdown restart
    std::set<int> enabled;          // ids of the enabled controls
    std::vector<std::string> rows;  // auto-start rows as "program|command line|delay"
    int focus = 0;                  // id of the control with the focus
};
ConfigureView ReadView(HWND dialog);

// Waits until timer 101 has disabled Edit and Delete (nothing selected), after which
// the focus no longer moves by itself.
void WaitForSelectionTimer(HWND dialog);
bool EditAndDeleteEnabled(HWND dialog);

// The section's key=value entries in file order.
std::vector<std::string> SectionEntries(const std::string& file, const char* section);

// Types a full path into an Open dialog and presses its OK button.
void ChooseFile(HWND openDialog, const std::string& path);

}  // namespace gt
