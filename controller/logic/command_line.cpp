#include "controller/logic/command_line.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "profile/path_parts.h"
#include "runtime/format_text.h"

namespace {

// Longest program text whose folder is taken (profile values are far shorter).
constexpr std::size_t kProgramTextSize = 1536;

// A switch's letters in any case (ASCII: switches are plain words).
bool SameLettersIgnoringCase(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b))
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool Fits(int written, std::size_t outSize)
{
    return written >= 0 && static_cast<std::size_t>(written) < outSize;
}

// Blanks before the quote do not count: "  \"C:\A B\x.exe\"" is quoted already.
bool StartsWithQuote(const char* text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return *text == '"';
}

}  // namespace

bool FormatLaunchText(char* out, std::size_t outSize, const char* path, const char* arguments)
{
    if (out == nullptr || outSize == 0)
        return false;
    return Fits(FormatText(out, outSize, "%s %s", path ? path : "", arguments ? arguments : ""), outSize);
}

bool QuotedProgramPath(char* out, std::size_t outSize, const char* path)
{
    if (out == nullptr || outSize == 0)
        return false;
    out[0] = '\0';
    if (path == nullptr || path[0] == '\0')
        return false;
    // No file name holds a quote, and one inside the quotes would end them early: Windows
    // would start the program named by the text before it.
    if (!StartsWithQuote(path) && std::strchr(path, '"') != nullptr)
        return false;
    const int written = StartsWithQuote(path) ? FormatText(out, outSize, "%s", path)
                                              : FormatText(out, outSize, "\"%s\"", path);
    if (!Fits(written, outSize)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool BuildLaunchCommandLine(char* out, std::size_t outSize, const char* path, const char* arguments)
{
    if (out == nullptr || outSize == 0)
        return false;
    if (arguments == nullptr)
        arguments = "";
    if (path == nullptr || path[0] == '\0') {
        // Still a command line: CreateProcessA then reports the error.
        path = "\"\"";
    }
    if (!QuotedProgramPath(out, outSize, path))
        return false;
    const std::size_t used = std::strlen(out);
    if (!Fits(FormatText(out + used, outSize - used, " %s", arguments), outSize - used)) {
        out[0] = '\0';
        return false;
    }
    return true;
}

void ProgramFolder(const char* path, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0)
        return;
    out[0] = '\0';
    if (path == nullptr)
        return;
    if (!StartsWithQuote(path)) {
        profile::FolderOfPath(path, out, outSize);
        return;
    }
    // The program is the quoted part; what follows the closing quote are its arguments.
    const char* start = std::strchr(path, '"') + 1;
    const char* end = std::strchr(start, '"');
    const std::size_t length = end ? static_cast<std::size_t>(end - start) : std::strlen(start);
    char program[kProgramTextSize];
    if (length >= sizeof program)
        return;
    std::memcpy(program, start, length);
    program[length] = '\0';
    profile::FolderOfPath(program, out, outSize);
}

RunSwitch ParseRunSwitch(const char* argument)
{
    if (argument == nullptr)
        return RunSwitch::None;
    std::string text(argument);
    if (text.size() > 2 && text[0] == '-' && text[1] == '-') {
        text = text.substr(2);
    } else if (text.size() > 1 && text[0] == '/') {
        text = text.substr(1);
    } else {
        return RunSwitch::None;
    }
    if (SameLettersIgnoringCase(text, "restore"))
        return RunSwitch::Restore;
    if (SameLettersIgnoringCase(text, "dry-run"))
        return RunSwitch::DryRun;
    if (SameLettersIgnoringCase(text, "user-process"))
        return RunSwitch::UserProcess;
    return RunSwitch::None;
}

bool ParseProcessId(const char* text, unsigned long& id)
{
    unsigned long long value = 0;
    for (const char* digit = text; digit != nullptr && *digit != '\0'; ++digit) {
        if (*digit < '0' || *digit > '9' || value > 0xFFFFFFFFull)
            return false;
        value = value * 10 + static_cast<unsigned long long>(*digit - '0');
    }
    id = static_cast<unsigned long>(value);
    return value != 0 && value <= 0xFFFFFFFFull;
}
