// Reading the part of a profile that the Configure dialog edits, and running the
// ordered writes of its Save (and the section deletion all three dialogs' Saves share).
#pragma once

#include "gui/logic/configure_values.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// The [Configuration] keys and [AutoStart] rows as the dialog shows them, with the
// dialog's defaults for missing keys.
struct ConfigureProfile {
    std::string description;
    std::string appPath;
    std::string commandLine;
    std::string priority;
    unsigned nonResponseSeconds = 15;
    unsigned autoStartDelay = 30;
    int defragMemory = 0;
    int idleTasks = 0;  // read only when asked for (Windows XP and Server 2003)
    int pauseAtEnd = 0;
    std::string mainAppExe;
    unsigned mainAppWait = 120;  // seconds the run looks for mainAppExe to start
    int logging = 0;
    int doNotLaunch = 0;
    int powerPlan = 0;
    int keepAwake = 0;
    int shutdown = 0;
    int restart = 0;
    std::vector<gui_logic::AutoStartRow> rows;
};

ConfigureProfile ReadConfigureProfile(const char* file, bool readIdleTasks);
// Every [Configuration] entry of the file, key and value, in file order.
std::vector<std::pair<std::string, std::string>> ReadConfigurationEntries(const char* file);

// Deletes a whole section of a profile. This fails only when the section still holds
// entries afterwards (then with the system's error code in *error): deleting a
// section that is not there may report a failure and has still done its job.
bool DeleteProfileSection(const char* section, const char* file, DWORD* error);
// The call DeleteProfileSection makes (WritePrivateProfileSectionA with no text). Wine
// reports success for a section that is not there, some Windows versions a failure: a
// test puts in a call that answers as those do.
using DeleteSectionCall = BOOL(WINAPI*)(LPCSTR section, LPCSTR text, LPCSTR file);
extern DeleteSectionCall g_deleteSectionCall;

// Runs the writes in order and stops at the first that fails. Returns true when all
// succeeded; otherwise false with the system's error code in *error.
bool ApplyProfileWrites(const char* file, const std::vector<gui_logic::ProfileWrite>& writes, DWORD* error);
