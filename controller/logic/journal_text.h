// The run journal's content and its INI text. A run records here what it stopped, so that
// a later "zephrun --restore" (or the next run) can put it back after a crash.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

struct JournalRecord {
    unsigned long processId = 0;       // the controller that wrote it
    unsigned long long startTime = 0;  // its creation time (FILETIME units); 0 where Windows cannot tell
    std::string profilePath;
    std::vector<std::pair<std::string, std::string>> programs;       // [Programs] key, restart path
    std::vector<std::string> services;                               // [Services] keys
    bool hasShellValue = false;                                      // AutoRestartShell is zeroed
    unsigned long shellValue = 0;                                    // the value to write back
    std::vector<std::pair<std::string, unsigned long>> autoStarted;  // program path, process id

    // Adders keep one entry per key (letter case ignored); they return false when the key
    // was there already, so that the caller can skip writing the same journal again.
    bool AddProgram(const std::string& key, const std::string& path);
    bool AddService(const std::string& key);
    bool RemoveService(const std::string& key);
    bool SetShellValue(unsigned long value);
    void AddAutoStarted(const std::string& path, unsigned long processId);
    bool HasWork() const
    {
        return !programs.empty() || !services.empty() || hasShellValue || !autoStarted.empty();
    }
};

// The journal file: [Run] ProcessId, StartTime, Profile; [Programs] key=path; [Services]
// key=Stop & Restart; [Shell] AutoRestartShell; [AutoStart] path=process id; and a final
// [End] Complete=1, without which a file is not a complete journal.
std::string FormatJournal(const JournalRecord& record);
// Reads a journal text. False when it is not a complete journal (cut short, no [End]
// section after the data, or no process id).
bool ParseJournal(const std::string& text, JournalRecord& record);

// The journal files of one folder: slot 0 is "zephrun_journal.ini", the slots after it
// (for runs at the same time as another) "zephrun_journal_2.ini" and on.
constexpr int kJournalSlots = 9;
std::string JournalFileName(int slot);

// The command-line switches that replace a normal run.
enum class RunSwitch { None, Restore, DryRun };
// "--restore" or "/restore", "--dry-run" or "/dry-run", in any letter case.
RunSwitch ParseRunSwitch(const char* argument);
