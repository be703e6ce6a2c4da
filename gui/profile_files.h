// The profiles folder's files as the main window lists them, the values it shows, and
// the file steps of its New and Delete commands.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ProfileFile {
    std::string name;  // the title shown: the file name without ".ini"
    std::string path;  // folder\file name
};
// The profiles of the folder (files whose names end in ".ini"), in the order the file
// system lists them.
std::vector<ProfileFile> ListProfileFiles(const char* folder);

// A [Configuration] value of a profile as the main window shows it (at most 254
// characters); empty when it is missing.
std::string ReadProfileValue(const char* file, const char* key);

// Whether two file names or paths are the same to Windows, which ignores letter case.
bool SameFileName(const std::string& a, const std::string& b);

// Makes the profile file path for New: blank (copyOf null; a file already there is
// replaced) or a writable copy of copyOf; then writes its description. Returns 0, or
// the system error of the step that failed; a failed copy is told apart by copyFailed.
// A failure after the copy removes the copy again.
DWORD MakeProfileFile(const char* path, const char* copyOf, const std::string& description, bool* copyFailed);

// "<lead>\r\n\n<path>\r\n\nError = <error>".
std::string FileErrorText(const char* lead, const std::string& path, DWORD error);
