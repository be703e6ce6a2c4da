// Helpers of the phase 4 to 7 tests (header only, on top of wine_harness.h): a profile in
// a temporary folder, the transcript of a whole run around the phases under test, and
// the report files that fixture_mainapp.exe writes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/wine_harness.h"

namespace zt {

// The messages of a run whose [Programs] and [Services] are empty and whose phases 1
// and 4 are off, with phase5to7 (everything after the phase 5 heading up to the phase 8
// heading) in between.
inline std::vector<std::string> RunMessages(
    const std::string& profilePath, const std::vector<std::string>& phase5to7,
    const std::vector<std::string>& phase1 =
        {"\r\nSkipping Phase 1: Forcing Idle tasks to execute - not enabled"},
    const std::vector<std::string>& phase4 = {"\r\nPhase 4: Defragmenting memory...skipping"})
{
    RunPhases phases;
    phases.phase1 = phase1;
    phases.phase4 = phase4;
    phases.phase5to7 = phase5to7;
    return WholeRunMessages(profilePath, phases);
}

// Phases 5 to 7 of a run whose main application starts (shown: its command line as
// printed) and ends by itself: the start-up delay, phase 6's lines, the wait, phase 7's lines.
inline std::vector<std::string> MainAppPhases(const std::string& shown, int delay,
                                              const std::vector<std::string>& phase6 = {},
                                              const std::vector<std::string>& phase7 = {})
{
    std::vector<std::string> lines = {
        "\r\nStarting " + shown,
        "\r\nWaiting " + std::to_string(delay) + " seconds for Main Application to finish starting...",
        "\r\nPhase 6:  Auto Starting Programs"};
    lines = Join(lines, phase6);
    lines.push_back("\r\nWaiting for Main Application to finish");
    lines.push_back("\r\nPhase 7:  Stopping programs that were auto started");
    return Join(lines, phase7);
}

// The three lines printed when phase 5 failed.
inline std::vector<std::string> SkippedPhases5to7()
{
    return {"\r\nPhase 5:  Skipping...", "\r\nPhase 6:  Skipping...", "\r\nPhase 7:  Skipping..."};
}

// "\r" and 57 blanks: the line that erases a countdown.
inline std::string BlankingLine() { return "\r" + std::string(57, ' '); }

// The countdown of an auto-start delay (positive, zero or negative).
inline std::vector<std::string> Countdown(int delay)
{
    std::vector<std::string> lines;
    lines.push_back("\r\nWaiting " + std::to_string(delay) + " seconds before continuing...");
    for (int left = delay - 1; left >= 0; --left) {
        lines.push_back("\rWaiting " + std::to_string(left) + " seconds before continuing...");
    }
    lines.push_back(BlankingLine());
    return lines;
}

// The value of the first "key=" line of a fixture report (empty when there is none; the
// line may end in CR LF or LF).
inline std::string ReportValue(const std::string& report, const std::string& key)
{
    const std::string prefix = key + "=";
    size_t start = 0;
    while (start < report.size()) {
        size_t end = report.find('\n', start);
        if (end == std::string::npos)
            end = report.size();
        if (report.compare(start, prefix.size(), prefix) == 0) {
            const size_t valueEnd = end > start && report[end - 1] == '\r' ? end - 1 : end;
            return report.substr(start + prefix.size(), valueEnd - start - prefix.size());
        }
        start = end + 1;
    }
    return std::string();
}

// Each line must appear in text after the one before it; returns the first that does not.
inline std::string FirstMissingInOrder(const std::string& text, const std::vector<std::string>& lines)
{
    size_t from = 0;
    for (const std::string& line : lines) {
        const size_t at = text.find(line, from);
        if (at == std::string::npos)
            return line;
        from = at + line.size();
    }
    return std::string();
}

inline int CountOf(const std::string& text, const std::string& what)
{
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// A profile file in folder with the given text.
inline std::string WriteProfile(const TempFolder& folder, const std::string& text,
                                const std::string& name = "profile.ini")
{
    const std::string path = folder.File(name);
    WriteFileBytes(path, text);
    return path;
}

}  // namespace zt
