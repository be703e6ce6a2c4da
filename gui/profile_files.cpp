#include "profile_files.h"

#include "gui/logic/profile_title.h"
#include "profile/profile_keys.h"

#include <cstdio>

namespace {

std::string Upper(std::string text)
{
    if (!text.empty())
        ::CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// FindFirstFile matches "*.ini" against the short names as well, so "race.ini~" and
// "race.inibak" come too: only names that really end in ".ini" are profiles.
bool EndsInIni(const std::string& name)
{
    return name.size() > 4 && SameFileName(name.substr(name.size() - 4), ".ini");
}

DWORD RemoveAfterFailure(const char* path, DWORD error)
{
    ::DeleteFileA(path);  // the error of the step that failed is what counts
    return error;
}

}  // namespace

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
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !EndsInIni(found.cFileName))
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

bool SameFileName(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

DWORD MakeProfileFile(const char* path, const char* copyOf, const std::string& description, bool* copyFailed)
{
    *copyFailed = false;
    if (!copyOf) {
        if (!::DeleteFileA(path) && ::GetLastError() != ERROR_FILE_NOT_FOUND
            && ::GetLastError() != ERROR_PATH_NOT_FOUND)
            return ::GetLastError();  // the write below tells a missing folder
    } else {
        if (!::CopyFileA(copyOf, path, FALSE)) {
            *copyFailed = true;
            return ::GetLastError();
        }
        // The copy takes the attributes of its original: a read-only one could not be edited.
        const DWORD attributes = ::GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return RemoveAfterFailure(path, ::GetLastError());
        const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        if (writable != attributes
            && !::SetFileAttributesA(path, writable ? writable : FILE_ATTRIBUTE_NORMAL))
            return RemoveAfterFailure(path, ::GetLastError());
    }
    if (!::WritePrivateProfileStringA(profile::kConfiguration, profile::kDescription, description.c_str(),
                                      path))
        return RemoveAfterFailure(path, ::GetLastError());
    return 0;
}

std::string FileErrorText(const char* lead, const std::string& path, DWORD error)
{
    return std::string(lead) + "\r\n\n" + path + "\r\n\nError = " + std::to_string(static_cast<long>(error));
}
