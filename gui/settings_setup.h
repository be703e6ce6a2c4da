// Start-up work on the per-user settings folder: its paths, its creation, the one-time
// move of an older installation's files out of the Windows folder, the default profile
// and the global options.
#pragma once

#include <windows.h>

// Fills g_settingsFolder, g_profilesFolder, g_windowPosFile, g_serviceHelpFile and
// g_currentProfile (the default profile) and creates both folders. When a folder cannot
// be created the error is shown (owned by owner) and the result is false.
bool SetUpSettingsFolders(HWND owner);

// Moves the configuration of an older installation from the Windows folder, when its
// window-position file is there; tells the user before and after.
void MigrateFromWindowsFolder(HWND owner);

// On a start where the settings folder has no service-help file, copies the one that
// ships beside Zephlaunch.exe (when there is one). Returns whether a copy was made.
bool CopyShippedServiceHelpFile();

// Creates the default profile when it cannot be opened for reading.
void EnsureDefaultProfile();

// ShowToolTips of [ProgramOptions] in the window-position file, default 1.
int ReadShowToolTips();

// True when the file exists and can be opened for reading.
bool FileIsReadable(const char* path);
