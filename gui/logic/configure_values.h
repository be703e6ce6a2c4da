// What the Configure dialog shows of a profile and what its Save writes back: the
// [AutoStart] value split into the list's columns, and the ordered list of profile
// writes for the dialog's settings.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace gui_logic {

// Limits of the dialog's fields.
constexpr unsigned kMinNonResponseSeconds = 3;
constexpr unsigned kMaxNonResponseSeconds = 900;
constexpr unsigned kMinDelaySeconds = 0;
constexpr unsigned kMaxDelaySeconds = 900;
constexpr unsigned kMaxMainAppWaitSeconds = 3600;
constexpr int kMaxFieldChars = 255;  // description, path and command line of the main application
// An auto-start command line: with "|" and a delay of up to 900 its value still fits
// the 255 characters that a profile value reads back whole.
constexpr int kMaxAutoStartCommandChars = kMaxFieldChars - 4;
constexpr std::size_t kMaxDelayTextChars = 99;

// One row of the auto-start list: the program's full path (the entry's key), its
// command-line arguments and its delay as text.
struct AutoStartRow {
    std::string program;
    std::string commandLine;
    std::string delay;
};

// Splits an [AutoStart] value at its last "|": the command line before it (earlier
// "|" stay part of it) and the delay text after it, unchanged but cut to 99
// characters. A value without "|" is all command line, with the delay "0".
void SplitAutoStartValue(const std::string& value, std::string* commandLine, std::string* delay);
// The value Save writes: command line, "|", delay text.
std::string JoinAutoStartValue(const std::string& commandLine, const std::string& delay);
// The delay the Edit dialog offers for a delay text: its leading integer as the C
// library's atoi reads it (0 when there is none); negative numbers give 0.
unsigned DelayOfText(const std::string& delay);

// The executable's name that "This is not the Main App" stores: the text after the
// last "\" of the chosen file.
std::string ExeNameOfPath(const std::string& path);

// The dialog's settings as Save takes them from the controls. Check boxes hold the
// state the control reports (1 ticked, 0 not).
struct ConfigureSettings {
    std::string description;
    std::string appPath;
    std::string commandLine;
    std::string priority;
    int defragMemory = 0;
    int idleTasks = 0;
    unsigned nonResponseSeconds = 15;
    unsigned autoStartDelay = 30;
    std::vector<AutoStartRow> rows;
    int pauseAtEnd = 0;
    bool notMainApp = false;
    std::string mainAppExe;  // the remembered executable name
    unsigned mainAppWait = 120;
    int logging = 0;
    int doNotLaunch = 0;
    int powerPlan = 0;
    int keepAwake = 0;
    bool shutdown = false;
    bool restart = false;
    // The [Configuration] entries the dialog does not show (hand-added, or from a newer
    // build), key and value in file order: Save writes them back after its own keys.
    std::vector<std::pair<std::string, std::string>> otherEntries;
};

// One profile write: a whole section deleted, or one key written.
struct ProfileWrite {
    bool deleteSection = false;
    const char* section = nullptr;
    std::string key;
    std::string value;
};

// Every write of Save, in order: [Configuration] and [AutoStart] deleted, then the
// known keys with the auto-start rows in list order after autostartdelay, then the other
// entries except those of keys the dialog owns (letter case ignored, as profiles read).
std::vector<ProfileWrite> SaveWrites(const ConfigureSettings& settings);

}  // namespace gui_logic
