// The controller's one output channel: a coloured console line (in the console's code
// page) and, when the profile asks for it, the same ANSI text appended to zephrun_log.txt
// in the working directory.
#pragma once

enum LogLevel { LOG_PLAIN = 0, LOG_HEADING = 1, LOG_WARNING = 2, LOG_ERROR = 3 };

// Formats into 1024 bytes (longer messages are cut), prints verbatim, and leaves the console
// with the attributes it had at the start.
// Returns the number of characters written to the console.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
int LogMessage(int level, const char* format, ...);

// Appends every message from now on to path as well ("zephrun --restore <file>": the GUI
// reads the outcome of a restore it started elevated, whose console it cannot read).
void CopyOutputToFile(const char* path);

// Remembers whether standard output is a console (only then are colours set and the text
// converted), its attributes and its code page.
void InitConsoleOutput();

// The console attribute for a level; 0 means "leave the colour alone".
unsigned short AttributeForLevel(int level);
