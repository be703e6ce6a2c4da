#include "profile/name_compare.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace profile {

int CompareNames(const char* a, const char* b)
{
    const char* left = a != nullptr ? a : "";
    const char* right = b != nullptr ? b : "";
#ifdef _WIN32
    return ::lstrcmpiA(left, right);
#else
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (; *left != '\0' && *right != '\0'; ++left, ++right) {
        int difference = static_cast<unsigned char>(fold(*left)) - static_cast<unsigned char>(fold(*right));
        if (difference != 0)
            return difference;
    }
    return static_cast<unsigned char>(*left) - static_cast<unsigned char>(*right);
#endif
}

}  // namespace profile
