// Walks the key=value entries of a section as GetPrivateProfileSection returns them:
// consecutive NUL-terminated strings ended by an empty string.
#pragma once

#include <cstddef>

namespace profile {

// Calls visit(key, keyLength) for each entry in buffer order with the text before
// the first "=". Entries without "=" and keys longer than kMaxKeyLength are skipped.
// Never reads past bufferSize bytes, even when the final terminator is missing.
// Returns the number of keys visited.
template <typename Visit>
std::size_t ForEachSectionKey(const char* buffer, std::size_t bufferSize, Visit&& visit);

// The non-template core: the next entry from offset on. Returns false at the end.
struct SectionEntry {
    const char* key;
    std::size_t keyLength;  // 0 when the entry has no "=" or its key is too long (skip it)
};
bool NextSectionEntry(const char* buffer, std::size_t bufferSize, std::size_t& offset, SectionEntry& entry);

template <typename Visit>
std::size_t ForEachSectionKey(const char* buffer, std::size_t bufferSize, Visit&& visit)
{
    std::size_t offset = 0;
    std::size_t visited = 0;
    SectionEntry entry;
    while (NextSectionEntry(buffer, bufferSize, offset, entry)) {
        if (entry.keyLength == 0)
            continue;
        visit(entry.key, entry.keyLength);
        ++visited;
    }
    return visited;
}

}  // namespace profile
