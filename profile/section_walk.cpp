#include "profile/section_walk.h"

#include <cstring>

#include "profile/profile_keys.h"

namespace profile {

bool NextSectionEntry(const char* buffer, std::size_t bufferSize, std::size_t& offset, SectionEntry& entry)
{
    if (buffer == nullptr || offset >= bufferSize || buffer[offset] == '\0')
        return false;
    const char* text = buffer + offset;
    const std::size_t room = bufferSize - offset;
    const void* nul = std::memchr(text, '\0', room);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text) : room;
    offset += length + 1;

    const void* equals = std::memchr(text, '=', length);
    entry.key = text;
    entry.keyLength = 0;
    if (equals != nullptr) {
        const std::size_t keyLength = static_cast<std::size_t>(static_cast<const char*>(equals) - text);
        if (keyLength > 0 && keyLength <= kMaxKeyLength)
            entry.keyLength = keyLength;
    }
    return true;
}

}  // namespace profile
