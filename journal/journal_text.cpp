#include "journal/journal_text.h"

#include <cctype>

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string Trimmed(const std::string& text)
{
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t' || text[end - 1] == '\r'))
        --end;
    return text.substr(start, end - start);
}

// Decimal digits only; false for anything else (a cut or edited number is not trusted).
bool ParseNumber(const std::string& text, unsigned long long& value)
{
    if (text.empty() || text.size() > 20)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        const unsigned long long digit = static_cast<unsigned long long>(c - '0');
        if (value > (~0ULL - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    return true;
}

void AppendLine(std::string& text, const std::string& line) { text += line + "\r\n"; }

// A plan GUID without braces, or a scheme index.
bool IsPlanText(const std::string& text)
{
    if (text.empty() || text.size() > 36)
        return false;
    for (char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex && c != '-')
            return false;
    }
    return true;
}

}  // namespace

bool JournalRecord::AddProgram(const std::string& key, const std::string& path)
{
    for (const auto& program : programs) {
        if (SameIgnoringCase(program.first, key))
            return false;
    }
    programs.emplace_back(key, path);
    return true;
}

bool JournalRecord::AddService(const std::string& key)
{
    for (const std::string& service : services) {
        if (SameIgnoringCase(service, key))
            return false;
    }
    services.push_back(key);
    return true;
}

bool JournalRecord::RemoveService(const std::string& key)
{
    for (auto it = services.begin(); it != services.end(); ++it) {
        if (SameIgnoringCase(*it, key)) {
            services.erase(it);
            return true;
        }
    }
    return false;
}

bool JournalRecord::SetShellValue(unsigned long value)
{
    if (hasShellValue && shellValue == value)
        return false;
    hasShellValue = true;
    shellValue = value;
    return true;
}

void JournalRecord::AddAutoStarted(const std::string& path, unsigned long id)
{
    autoStarted.emplace_back(path, id);
}

bool JournalRecord::SetPowerPlans(const std::string& before, const std::string& chosen)
{
    if (!IsPlanText(before) || !IsPlanText(chosen))
        return false;
    powerPlan = before;
    runPowerPlan = chosen;
    return true;
}

std::string FormatJournal(const JournalRecord& record)
{
    std::string text;
    AppendLine(text, "; Zephlaunch run journal: what a run of zephrun.exe stopped and has not put back yet.");
    AppendLine(text, "; \"zephrun.exe --restore\" restores it; a run that ends normally deletes it.");
    AppendLine(text, "[Run]");
    AppendLine(text, "ProcessId=" + std::to_string(record.processId));
    AppendLine(text, "StartTime=" + std::to_string(record.startTime));
    // Only when known, so that a record without them keeps the text of earlier builds.
    if (record.bootTime != 0)
        AppendLine(text, "BootTime=" + std::to_string(record.bootTime));
    if (!record.computer.empty())
        AppendLine(text, "Computer=" + record.computer);
    AppendLine(text, "Profile=" + record.profilePath);
    AppendLine(text, "[Programs]");
    for (const auto& program : record.programs)
        AppendLine(text, program.first + "=" + program.second);
    AppendLine(text, "[Services]");
    for (const std::string& service : record.services)
        AppendLine(text, service + "=Stop & Restart");
    AppendLine(text, "[Shell]");
    if (record.hasShellValue)
        AppendLine(text, "AutoRestartShell=" + std::to_string(record.shellValue));
    AppendLine(text, "[AutoStart]");
    for (const auto& program : record.autoStarted) {
        AppendLine(text, program.first + "=" + std::to_string(program.second));
    }
    // Only for a run that changed them: other journals keep the text of earlier builds.
    if (!record.powerPlan.empty() || record.screenSaverOff) {
        AppendLine(text, "[Power]");
        if (!record.powerPlan.empty())
            AppendLine(text, "Plan=" + record.powerPlan + "\r\nRunPlan=" + record.runPowerPlan);
        if (record.screenSaverOff)
            AppendLine(text, "ScreenSaver=1");
    }
    AppendLine(text, "[End]");
    AppendLine(text, "Complete=1");
    return text;
}

bool ParseJournal(const std::string& text, JournalRecord& record, bool* tooLarge)
{
    record = JournalRecord();
    if (tooLarge != nullptr)
        *tooLarge = false;
    std::string section;
    bool haveProcessId = false;
    bool complete = false;
    std::string plan;
    std::string runPlan;
    std::size_t entries = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const std::size_t close = line.find(']');
            section = close == std::string::npos ? std::string() : line.substr(1, close - 1);
            // Anything after the end mark belongs to no complete journal.
            if (complete)
                return false;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = Trimmed(line.substr(0, equals));
        const std::string value = Trimmed(line.substr(equals + 1));
        if (key.empty())
            continue;
        unsigned long long number = 0;
        const bool listSection = SameIgnoringCase(section, "Programs")
                                 || SameIgnoringCase(section, "Services")
                                 || SameIgnoringCase(section, "AutoStart");
        // Bounded before the adders' duplicate checks, so that reading stays linear.
        if (listSection && ++entries > kMaxJournalEntries) {
            if (tooLarge != nullptr)
                *tooLarge = true;
            record = JournalRecord();
            return false;
        }
        if (SameIgnoringCase(section, "Run")) {
            if (SameIgnoringCase(key, "ProcessId") && ParseNumber(value, number) && number != 0
                && number <= 0xFFFFFFFFULL) {
                record.processId = static_cast<unsigned long>(number);
                haveProcessId = true;
            } else if (SameIgnoringCase(key, "StartTime") && ParseNumber(value, number)) {
                record.startTime = number;
            } else if (SameIgnoringCase(key, "BootTime") && ParseNumber(value, number)) {
                record.bootTime = number;
            } else if (SameIgnoringCase(key, "Computer")) {
                record.computer = value;
            } else if (SameIgnoringCase(key, "Profile")) {
                record.profilePath = value;
            }
        } else if (SameIgnoringCase(section, "Programs")) {
            record.AddProgram(key, value);
        } else if (SameIgnoringCase(section, "Services")) {
            record.AddService(key);
        } else if (SameIgnoringCase(section, "Shell")) {
            if (SameIgnoringCase(key, "AutoRestartShell") && ParseNumber(value, number)
                && number <= 0xFFFFFFFFULL) {
                record.SetShellValue(static_cast<unsigned long>(number));
            }
        } else if (SameIgnoringCase(section, "AutoStart")) {
            if (ParseNumber(value, number) && number <= 0xFFFFFFFFULL) {
                record.AddAutoStarted(key, static_cast<unsigned long>(number));
            }
        } else if (SameIgnoringCase(section, "Power")) {
            if (SameIgnoringCase(key, "Plan")) {
                plan = value;
            } else if (SameIgnoringCase(key, "RunPlan")) {
                runPlan = value;
            } else if (SameIgnoringCase(key, "ScreenSaver")) {
                record.screenSaverOff = value == "1";
            }
        } else if (SameIgnoringCase(section, "End")) {
            if (SameIgnoringCase(key, "Complete") && value == "1")
                complete = true;
        }
    }
    // A plan is put back only by the pair: which one was active, and which one the run chose.
    record.SetPowerPlans(plan, runPlan);
    return complete && haveProcessId;
}

bool SameBoot(unsigned long long a, unsigned long long b)
{
    const unsigned long long kTolerance = 5ULL * 60 * 10000000;  // five minutes
    const unsigned long long kWrap = 4294967296ULL * 10000;      // 2^32 ms
    const unsigned long long rest = (a > b ? a - b : b - a) % kWrap;
    return rest <= kTolerance || kWrap - rest <= kTolerance;
}

bool JournalRunLooksAlive(const JournalRecord& record, const JournalProcessProbe& probe,
                          unsigned long long currentBoot)
{
    if (probe.opened) {
        if (!probe.running)
            return false;
        return !probe.haveStartTime || probe.startTime == record.startTime;
    }
    if (!probe.accessDenied)
        return false;
    // Another user's or a protected process: after a restart of Windows its id says nothing.
    return record.bootTime == 0 || currentBoot == 0 || SameBoot(record.bootTime, currentBoot);
}

std::string JournalFileName(int slot)
{
    if (slot <= 0)
        return "zephrun_journal.ini";
    return "zephrun_journal_" + std::to_string(slot + 1) + ".ini";
}
