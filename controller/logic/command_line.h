// Command lines for the programs the controller launches (the main application, the
// auto-start programs and the restarted programs), built without any Windows types.
#pragma once

#include <cstddef>

// The text shown for a launch: the path, one blank, the arguments (the blank is there
// even when there are no arguments). Returns false when it had to be cut to fit.
bool FormatLaunchText(char* out, std::size_t outSize, const char* path, const char* arguments);

// The program part of a command line, for phases 5, 6 and 9 alike: the path in double
// quotes, so that a path with blanks (C:\Program Files\Game\game.exe) starts exactly that
// program and never C:\Program.exe. A value that already starts with a double quote
// ("C:\x y\tool.exe" -min) is a command line of its own and is used as it is. Returns
// false and leaves an empty text when the path is empty, holds a quote further in, or the
// result does not fit: each could start another program.
bool QuotedProgramPath(char* out, std::size_t outSize, const char* path);

// The command line handed to CreateProcessA: QuotedProgramPath, one blank, the arguments.
// Returns false (and leaves an empty text) when it does not fit.
bool BuildLaunchCommandLine(char* out, std::size_t outSize, const char* path, const char* arguments);

// The working folder for a program path: the text before its last "\" (FolderOfPath), or,
// for a value that starts with a quote, the folder of the quoted program. Empty when
// there is none.
void ProgramFolder(const char* path, char* out, std::size_t outSize);

// The command-line switches that replace a normal run.
enum class RunSwitch { None, Restore, DryRun, UserProcess };
// "--restore" or "/restore", "--dry-run" or "/dry-run", "--user-process" or "/user-process",
// in any letter case.
RunSwitch ParseRunSwitch(const char* argument);
// The process id after "--user-process": decimal digits only, not 0, at most 32 bits.
bool ParseProcessId(const char* text, unsigned long& id);
