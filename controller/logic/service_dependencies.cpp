#include "controller/logic/service_dependencies.h"

#include <cstring>

namespace servicedeps {

std::size_t CountDependencyMatches(const char* list, std::size_t maxBytes, const char* key)
{
    if (list == nullptr || key == nullptr)
        return 0;
    const std::size_t keyLength = std::strlen(key);
    std::size_t matches = 0;
    std::size_t offset = 0;
    while (offset < maxBytes && list[offset] != '\0') {
        std::size_t length = 0;
        while (offset + length < maxBytes && list[offset + length] != '\0')
            ++length;
        const bool terminated = offset + length < maxBytes;
        if (terminated && length == keyLength && std::memcmp(list + offset, key, length) == 0)
            ++matches;
        offset += length + 1;
    }
    return matches;
}

}  // namespace servicedeps
