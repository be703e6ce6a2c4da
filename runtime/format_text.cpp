#include "runtime/format_text.h"

#include <stdio.h>

int FormatTextV(char* out, std::size_t size, const char* format, va_list args)
{
    if (out == nullptr || size == 0)
        return -1;
#ifdef _WIN32
    // msvcrt answers -1, and leaves the buffer unterminated, for a text that does not fit.
    const int written = _vsnprintf(out, size, format, args);
    if (written < 0 || static_cast<std::size_t>(written) >= size) {
        out[size - 1] = '\0';
        return static_cast<int>(size);
    }
    return written;
#else
    return vsnprintf(out, size, format, args);
#endif
}

int FormatText(char* out, std::size_t size, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = FormatTextV(out, size, format, args);
    va_end(args);
    return written;
}
