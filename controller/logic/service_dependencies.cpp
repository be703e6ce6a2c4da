#include "controller/logic/service_dependencies.h"

#include <cstring>

namespace servicedeps {

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Service names compare without regard to letter case, as the service manager compares them.
bool SameName(const char* a, const char* b, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

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
        if (terminated && length == keyLength && SameName(list + offset, key, length))
            ++matches;
        offset += length + 1;
    }
    return matches;
}

}  // namespace servicedeps
