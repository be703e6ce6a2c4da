// The profiles folder's files as the main window lists them, and the values it shows.
#pragma once

#include <string>
#include <vector>

struct ProfileFile {
    std::string name;  // the title shown: the file name without ".ini"
    std::string path;  // folder\file name
};
// The profiles of the folder, in the order the file system lists them.
std::vector<ProfileFile> ListProfileFiles(const char* folder);

// A [Configuration] value of a profile as the main window shows it (at most 254
// characters); empty when it is missing.
std::string ReadProfileValue(const char* file, const char* key);
