// Splitting Windows paths at their last backslash.
#pragma once

#include <cstddef>

namespace profile {

// The text before the last "\" (C:\Apps\app.exe gives C:\Apps), with the backslash kept
// for a drive's root (C:\app.exe gives C:\, \app.exe gives \); empty when there is none. Always terminated,
// cut to outSize - 1.
void FolderOfPath(const char* path, char* out, std::size_t outSize);

// The text after the last "\"; the whole path when there is none.
const char* FileNameOfPath(const char* path);

// Bounded copy that always terminates (when outSize > 0) and reports whether it fit.
bool CopyText(char* out, std::size_t outSize, const char* text);

}  // namespace profile
