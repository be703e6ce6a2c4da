// Runs a program with its standard output on a console screen buffer of the test's own,
// so that the text attributes it set can be read back cell by cell.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/wine_harness.h"

namespace zt {

struct ConsoleCell {
    char ch;
    WORD attribute;
};

struct ConsoleRun {
    RunResult result;                // output is empty: it went to the screen buffer
    std::vector<ConsoleCell> cells;  // the buffer's rows up to the cursor, row after row
    WORD finalAttribute = 0;         // the buffer's attribute when the program had ended
    int width = 0;
};

// Runs zephrun.exe with the arguments on a buffer showing attribute; keys are typed into the
// console first.
ConsoleRun RunControllerOnConsole(const std::vector<std::string>& args, const std::string& keys,
                                  DWORD timeoutMs = 60000, WORD attribute = 7);

// The attribute of the first cell where text starts (0xFFFF when the text is absent).
WORD AttributeOfText(const ConsoleRun& run, const std::string& text);

}  // namespace zt
