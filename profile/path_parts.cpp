#include "profile/path_parts.h"

#include <cstring>

namespace profile {

void FolderOfPath(const char* path, char* out, std::size_t outSize)
{
    if (out == nullptr || outSize == 0)
        return;
    out[0] = '\0';
    if (path == nullptr)
        return;
    const char* slash = std::strrchr(path, '\\');
    if (slash == nullptr)
        return;
    std::size_t length = static_cast<std::size_t>(slash - path);
    // A bare drive ("C:") or nothing names the drive's current folder, not its root: the
    // backslash stays.
    if (length == 0 || (length == 2 && path[1] == ':'))
        ++length;
    if (length >= outSize)
        length = outSize - 1;
    std::memcpy(out, path, length);
    out[length] = '\0';
}

const char* FileNameOfPath(const char* path)
{
    if (path == nullptr)
        return "";
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

bool CopyText(char* out, std::size_t outSize, const char* text)
{
    if (out == nullptr || outSize == 0)
        return false;
    if (text == nullptr)
        text = "";
    const std::size_t length = std::strlen(text);
    const std::size_t copied = length < outSize ? length : outSize - 1;
    std::memcpy(out, text, copied);
    out[copied] = '\0';
    return copied == length;
}

}  // namespace profile
