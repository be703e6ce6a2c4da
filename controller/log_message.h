// The controller's one output channel: a coloured console line and, when the profile
// asks for it, the same text appended to zephrun_log.txt in the working directory.
#pragma once

enum LogLevel { LOG_PLAIN = 0, LOG_HEADING = 1, LOG_WARNING = 2, LOG_ERROR = 3 };

// Formats into 1024 bytes (longer messages are cut), prints verbatim, restores grey.
// Returns the number of characters written to the console.
#if defined(__GNUC__)
__attribute__((format(printf, 2, 3)))
#endif
int LogMessage(int level, const char* format, ...);

// Appends every message from now on to path as well ("zephrun --restore <file>": the GUI
// reads the outcome of a restore it started elevated, whose console it cannot read).
void CopyOutputToFile(const char* path);

// Remembers whether standard output is a console (only then are colours set).
void InitConsoleOutput();

// The console attribute for a level; 0 means "leave the colour alone".
unsigned short AttributeForLevel(int level);
