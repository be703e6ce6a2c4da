// Texts and names shared by the GUI's windows: the caption of its windows and message
// boxes, the sections of the window-position file and the program-option keys.
#pragma once

// Caption of the main window (when no profile is current) and of every message box.
constexpr const char kAppCaption[] = "Zephlaunch";
// Window-title prefix for a profile ("Zephlaunch - <profile>") and for tool-tip titles.
constexpr const char kAppCaptionPrefix[] = "Zephlaunch - ";

namespace gui {

// The question of every editing dialog that is left with changes not saved.
constexpr const char kUnsavedChangesQuestion[] =
    "You have made changes that have not been saved.  Would you like to save them now?";

// Sections of the window-position file, one per remembered window.
constexpr const char kMainWindowSection[] = "MainWindow";
constexpr const char kConfigureWindowSection[] = "ConfigureWindow";
constexpr const char kProgramsWindowSection[] = "ProgramsWindow";
constexpr const char kServicesWindowSection[] = "ServicesWindow";

// The program options, in the window-position file.
constexpr const char kProgramOptionsSection[] = "ProgramOptions";
constexpr const char kShowToolTipsKey[] = "ShowToolTips";
// Set once the files of an older installation were moved out of the Windows folder.
constexpr const char kMovedSection[] = "Settings";
constexpr const char kMovedKey[] = "MovedFromWindowsFolder";

// Files of the settings folder.
constexpr const char kSettingsFolderName[] = "Zephlaunch";
constexpr const char kProfilesFolderName[] = "profiles";
constexpr const char kDefaultProfileFile[] = "zephlaunch.ini";
constexpr const char kWindowPosFile[] = "zephlaunch_windowpos.ini";
constexpr const char kServiceHelpFile[] = "zephlaunch_service.ini";

// The controller, looked for next to Zephlaunch.exe.
constexpr const char kControllerExe[] = "zephrun.exe";
// Start and Create Shortcut when that folder cannot be told.
constexpr const char kOwnFolderUnknown[] =
    "Zephlaunch cannot tell the folder it was started from, so it cannot find zephrun.exe.";

}  // namespace gui
