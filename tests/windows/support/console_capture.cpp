#include "support/console_capture.h"

#include <cstring>
#include <stdexcept>

namespace zt {

namespace {

bool ScreenShows(HANDLE screen, const char* text)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(screen, &info))
        return false;
    const DWORD count = static_cast<DWORD>(info.dwSize.X) * (info.dwCursorPosition.Y + 1);
    std::string chars(count, ' ');
    DWORD read = 0;
    COORD origin = {0, 0};
    if (!ReadConsoleOutputCharacterA(screen, &chars[0], count, origin, &read))
        return false;
    return chars.find(text) != std::string::npos;
}

}  // namespace

ConsoleRun RunControllerOnConsole(const std::vector<std::string>& args, const std::string& keys,
                                  DWORD timeoutMs, WORD attribute)
{
    EnsureConsole();

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE screen =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE)
        throw std::runtime_error("CreateConsoleScreenBuffer failed");
    COORD size = {160, 200};
    SetConsoleScreenBufferSize(screen, size);
    SetConsoleTextAttribute(screen, attribute);
    HANDLE input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               &inherit, OPEN_EXISTING, 0, nullptr);

    const std::string commandLine = ControllerCommandLine(args);
    PROCESS_INFORMATION process;
    if (!StartWithHandles(commandLine, input, screen, 0, BinDir(), process)) {
        CloseHandle(screen);
        if (input != INVALID_HANDLE_VALUE)
            CloseHandle(input);
        throw std::runtime_error("CreateProcess failed for " + commandLine);
    }
    ConsoleRun run;
    AwaitProcess(
        process, timeoutMs, keys, [&] { return ScreenShows(screen, "Press any key"); }, run.result);
    if (input != INVALID_HANDLE_VALUE)
        CloseHandle(input);

    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(screen, &info)) {
        run.finalAttribute = info.wAttributes;
        run.width = info.dwSize.X;
        const DWORD count = static_cast<DWORD>(info.dwSize.X) * (info.dwCursorPosition.Y + 1);
        std::vector<char> chars(count);
        std::vector<WORD> attributes(count);
        DWORD readChars = 0, readAttributes = 0;
        COORD origin = {0, 0};
        ReadConsoleOutputCharacterA(screen, chars.data(), count, origin, &readChars);
        ReadConsoleOutputAttribute(screen, attributes.data(), count, origin, &readAttributes);
        const DWORD cells = readChars < readAttributes ? readChars : readAttributes;
        for (DWORD i = 0; i < cells; ++i)
            run.cells.push_back({chars[i], attributes[i]});
    }
    CloseHandle(screen);
    return run;
}

WORD AttributeOfText(const ConsoleRun& run, const std::string& text)
{
    std::string all;
    all.reserve(run.cells.size());
    for (const ConsoleCell& cell : run.cells)
        all += cell.ch;
    const size_t at = all.find(text);
    return at == std::string::npos ? 0xFFFF : run.cells[at].attribute;
}

}  // namespace zt
