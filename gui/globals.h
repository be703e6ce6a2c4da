// Process-wide state shared by all windows of the GUI, set up by the main window's
// initialisation (settings_setup.h).
#pragma once

#include <windows.h>

#include <string>

extern char g_settingsFolder[MAX_PATH];
extern char g_profilesFolder[MAX_PATH];
extern char g_windowPosFile[MAX_PATH];
extern char g_serviceHelpFile[MAX_PATH];
// Full path of the profile every editor works on; only the main window changes it.
extern std::string g_currentProfile;
// 1: tool tips of all windows are active, 0: inactive (ShowToolTips in [ProgramOptions]).
// Defined by the framework (framework/tooltip_ctrl.cpp), which activates every
// dialog's tool tips with it.
extern int g_showToolTips;
