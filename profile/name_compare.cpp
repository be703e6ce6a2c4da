#include "profile/name_compare.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace profile {

namespace {

// The upper case of one byte: A to Z by hand (never through the locale, which would turn
// 'i' into a dotted capital under a Turkish one), other letters of the ANSI code page
// through their simple upper case, one character at a time so that nothing is expanded,
// joined or ignored as a linguistic comparison would ("ß" stays one character apart
// from "ss", a soft hyphen counts).
unsigned char FoldedByte(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 'a' + 'A');
#ifdef _WIN32
    if (c >= 0x80) {
        char one[1] = {static_cast<char>(c)};
        if (CharUpperBuffA(one, 1) == 1)
            return static_cast<unsigned char>(one[0]);
    }
#endif
    return c;
}

}  // namespace

int CompareNames(const char* a, const char* b)
{
    const unsigned char* left = reinterpret_cast<const unsigned char*>(a != nullptr ? a : "");
    const unsigned char* right = reinterpret_cast<const unsigned char*>(b != nullptr ? b : "");
    for (;; ++left, ++right) {
#ifdef _WIN32
        // A double-byte character of an East Asian code page is compared as it stands.
        if (IsDBCSLeadByte(*left) && left[1] != '\0') {
            if (*left != *right || left[1] != right[1])
                return *left != *right ? *left - *right : left[1] - right[1];
            ++left;
            ++right;
            continue;
        }
#endif
        const int difference = FoldedByte(*left) - FoldedByte(*right);
        if (difference != 0 || *left == '\0')
            return difference;
    }
}

}  // namespace profile
