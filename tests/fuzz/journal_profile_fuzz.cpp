// libFuzzer target for the files any program of the user can write and the controller reads
// with rights the writer may lack: the run journal (ParseJournal, and FormatJournal of what it
// read, which a partly failed restore writes back), a profile section as
// GetPrivateProfileSection returns it with the rules for its values, and the command lines
// built from profile and journal paths. Findings end the run (assert, ASan, UBSan).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "controller/logic/command_line.h"
#include "journal/journal_text.h"
#include "profile/entry_values.h"
#include "profile/path_parts.h"
#include "profile/profile_keys.h"
#include "profile/section_walk.h"

namespace {

#define Check(condition) CheckAt(condition, __LINE__)

void CheckAt(bool condition, int line)
{
    if (!condition) {
        std::fprintf(stderr, "check failed at line %d\n", line);
        std::abort();
    }
}

bool SameRecord(const JournalRecord& a, const JournalRecord& b)
{
    return a.processId == b.processId && a.startTime == b.startTime && a.bootTime == b.bootTime
           && a.computer == b.computer && a.profilePath == b.profilePath && a.programs == b.programs
           && a.services == b.services && a.hasShellValue == b.hasShellValue && a.shellValue == b.shellValue
           && a.autoStarted == b.autoStarted && a.powerPlan == b.powerPlan && a.runPowerPlan == b.runPowerPlan
           && a.screenSaverOff == b.screenSaverOff;
}

// What the journal reader takes in, it writes back the same: a restore that keeps the items
// it could not put back writes them with FormatJournal.
void FuzzJournal(const std::string& text)
{
    JournalRecord record;
    bool tooLarge = false;
    if (!ParseJournal(text, record, &tooLarge))
        return;
    Check(!tooLarge);
    JournalRecord again;
    Check(ParseJournal(FormatJournal(record), again));
    Check(SameRecord(record, again));
}

// The first token of a command line as CreateProcess takes the program name: quoted up to
// the next quote, else up to the first blank.
std::string ProgramToken(const char* line)
{
    if (line[0] == '"') {
        const char* end = std::strchr(line + 1, '"');
        return end ? std::string(line + 1, end) : std::string(line + 1);
    }
    return std::string(line, std::strcspn(line, " \t"));
}

void FuzzCommandLine(const char* path, const char* arguments, std::size_t outSize)
{
    std::vector<char> out(outSize);
    if (QuotedProgramPath(out.data(), out.size(), path)) {
        Check(std::strlen(out.data()) < out.size());
        // A path that is not a command line of its own starts exactly that program.
        const char* first = path;
        while (*first == ' ' || *first == '\t')
            ++first;
        if (*first != '"')
            Check(ProgramToken(out.data()) == path);
    } else {
        Check(out.empty() || out[0] == '\0');
    }
    if (BuildLaunchCommandLine(out.data(), out.size(), path, arguments))
        Check(std::strlen(out.data()) < out.size());
    FormatLaunchText(out.data(), out.size(), path, arguments);
    Check(out.empty() || std::memchr(out.data(), '\0', out.size()) != nullptr);
    ProgramFolder(path, out.data(), out.size());
    Check(out.empty() || std::memchr(out.data(), '\0', out.size()) != nullptr);
}

// A section buffer: NUL-separated "key=value" entries, with or without the final empty
// string, in a heap block of exactly its size so that a read past it is caught.
void FuzzSection(const std::uint8_t* data, std::size_t size)
{
    std::vector<char> buffer(data, data + size);
    std::size_t visited = 0;
    profile::ForEachSectionKey(buffer.data(), buffer.size(), [&](const char* key, std::size_t keyLength) {
        Check(key >= buffer.data() && key + keyLength <= buffer.data() + buffer.size());
        Check(keyLength <= profile::kMaxKeyLength);
        ++visited;
        // The value as the profile functions give it: the rest of the entry, cut to a buffer.
        const char* valueStart = key + keyLength + 1;
        const char* end = static_cast<const char*>(std::memchr(
            valueStart, '\0', static_cast<std::size_t>(buffer.data() + buffer.size() - valueStart)));
        std::string value(valueStart, end ? end : buffer.data() + buffer.size());
        value.resize(value.size() < profile::kValueBufferSize ? value.size() : profile::kValueBufferSize - 1);
        const char* text = value.c_str();
        profile::ProgramIsNoAction(text);
        profile::ProgramIsStopRestart(text);
        const char* pathPart = profile::ProgramPathPart(text);
        Check(pathPart[0] == '\0' || (pathPart >= text && pathPart < text + value.size()));
        profile::ServiceIsNoAction(text);
        profile::ServiceRestarts(text);
        char arguments[profile::kValueBufferSize];
        profile::AutoStartArguments(text, arguments, sizeof arguments);
        Check(std::strlen(arguments) < sizeof arguments);
        profile::AutoStartDelay(text);
        profile::LeadingInteger(text);
        const std::string keyText(key, keyLength);
        FuzzCommandLine(keyText.c_str(), text, 1 + (value.size() * 7 + keyLength) % 600);
        char folder[profile::kValueBufferSize];
        profile::FolderOfPath(text, folder, sizeof folder);
        profile::FileNameOfPath(text);
    });
    Check(visited <= size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzJournal(std::string(reinterpret_cast<const char*>(data), size));
    FuzzSection(data, size);
    return 0;
}
