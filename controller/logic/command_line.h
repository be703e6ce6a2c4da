// Command lines for the programs the controller launches (the main application and the
// auto-start programs), built without any Windows types.
#pragma once

#include <cstddef>

// The text shown for a launch: the path, one blank, the arguments (the blank is there
// even when there are no arguments). Returns false when it had to be cut to fit.
bool FormatLaunchText(char* out, std::size_t outSize, const char* path, const char* arguments);

// The command line handed to CreateProcessA: like FormatLaunchText, but with the path
// in double quotes, so that a path with blanks (C:\Program Files\Game\game.exe) starts
// exactly that program and never C:\Program.exe. A path that already holds a double
// quote is used as it is. Returns false (and leaves an empty text) when it does not fit:
// a cut command line could start another program.
bool BuildLaunchCommandLine(char* out, std::size_t outSize, const char* path, const char* arguments);
