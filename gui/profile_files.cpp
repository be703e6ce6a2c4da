#include "profile_files.h"

#include "gui/logic/profile_title.h"
#include "profile/profile_keys.h"

#include <windows.h>

#include <cstdio>

std::vector<ProfileFile> ListProfileFiles(const char* folder)
{
    std::vector<ProfileFile> files;
    char pattern[MAX_PATH];
    const int written = std::snprintf(pattern, sizeof pattern, "%s\\*.ini", folder);
    if (written < 0 || static_cast<size_t>(written) >= sizeof pattern)
        return files;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        files.push_back(
            {gui_logic::ProfileNameOfFile(found.cFileName), std::string(folder) + "\\" + found.cFileName});
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return files;
}

std::string ReadProfileValue(const char* file, const char* key)
{
    const DWORD kValueChars = 255;
    char value[kValueChars] = {};
    ::GetPrivateProfileStringA(profile::kConfiguration, key, "", value, kValueChars, file);
    return value;
}
