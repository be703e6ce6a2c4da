// Formatted text into a buffer of known size, through the C library Windows itself ships
// (msvcrt's _vsnprintf) rather than the C99 formatter that the C++ library's headers select,
// which would add some 20 KB to each program. Neither program prints "%lld", "%zu" or
// other C99-only conversions (msvcrt of Windows 9x and NT 4.0 knows none of them).
#pragma once

#include <cstdarg>
#include <cstddef>

// Like snprintf: the text is always terminated; returns its length, or a number of at least
// size when it had to be cut, or a negative number on a format error.
#if defined(__GNUC__)
__attribute__((format(printf, 3, 4)))
#endif
int FormatText(char* out, std::size_t size, const char* format, ...);
int FormatTextV(char* out, std::size_t size, const char* format, va_list args);
