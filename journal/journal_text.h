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
    unsigned long long bootTime = 0;   // when Windows started (FILETIME units); 0: not recorded
    std::string computer;              // the computer's name; empty: not recorded
    std::string profilePath;
    std::vector<std::pair<std::string, std::string>> programs;       // [Programs] key, restart path
    std::vector<std::string> services;                               // [Services] keys
    bool hasShellValue = false;                                      // AutoRestartShell is zeroed
    unsigned long shellValue = 0;                                    // the value to write back
    std::vector<std::pair<std::string, unsigned long>> autoStarted;  // program path, process id
    // The power plan the run switched away from and the one it switched to (a plan GUID, or
    // the index of a Windows 2000/XP power scheme); both empty when it switched none.
    std::string powerPlan;
    std::string runPowerPlan;
    bool screenSaverOff = false;  // the screen saver was on and is off for the run

    // Adders keep one entry per key (letter case ignored); they return false when the key
    // was there already, so that the caller can skip writing the same journal again.
    bool AddProgram(const std::string& key, const std::string& path);
    bool AddService(const std::string& key);
    bool RemoveService(const std::string& key);
    bool SetShellValue(unsigned long value);
    void AddAutoStarted(const std::string& path, unsigned long processId);
    // False when a text is no plan identifier (hex digits and "-", at most 36 characters).
    bool SetPowerPlans(const std::string& before, const std::string& chosen);
    bool HasWork() const
    {
        return !programs.empty() || !services.empty() || hasShellValue || !autoStarted.empty()
               || !powerPlan.empty() || screenSaverOff;
    }
};

// The journal file: [Run] ProcessId, StartTime, BootTime, Computer, Profile; [Programs]
// key=path; [Services] key=Stop & Restart; [Shell] AutoRestartShell; [AutoStart] path=process
// id; [Power] Plan, RunPlan and ScreenSaver (only when the run changed any of them); and a
// final [End] Complete=1, without which a file is not a complete journal.
std::string FormatJournal(const JournalRecord& record);
// The most entries ([Programs], [Services] and [AutoStart] together) a journal may hold: a
// run writes one per profile entry, so more is not a journal of ours.
constexpr std::size_t kMaxJournalEntries = 1024;
// Reads a journal text, in time linear in its length. False when it is not a complete
// journal (cut short, no [End] section after the data, no process id, or more than
// kMaxJournalEntries entries, which also sets *tooLarge when given).
bool ParseJournal(const std::string& text, JournalRecord& record, bool* tooLarge = nullptr);
// True when two boot times name the same start of Windows. Readings of one boot differ a
// little (the clock is corrected meanwhile); where only a 32-bit millisecond count of the
// time since the start exists, they also differ by multiples of its 49.7-day wrap.
bool SameBoot(unsigned long long a, unsigned long long b);

// What could be learnt about the process whose id a journal names.
struct JournalProcessProbe {
    bool opened = false;        // OpenProcess gave a handle
    bool accessDenied = false;  // it refused with ERROR_ACCESS_DENIED
    bool running = false;       // opened, and it has not ended
    bool haveStartTime = false;
    unsigned long long startTime = 0;  // its creation time, when haveStartTime
};
// Whether the run that wrote the journal may still be running: a process that runs with the
// recorded start time is that run; one with another start time, or none, is not. A process
// that cannot be opened counts as the run, unless the journal comes from an earlier start of
// Windows (currentBoot 0: not known).
bool JournalRunLooksAlive(const JournalRecord& record, const JournalProcessProbe& probe,
                          unsigned long long currentBoot);

// The journal files of one folder: slot 0 is "zephrun_journal.ini", the slots after it
// (for runs at the same time as another) "zephrun_journal_2.ini" and on.
constexpr int kJournalSlots = 9;
std::string JournalFileName(int slot);
