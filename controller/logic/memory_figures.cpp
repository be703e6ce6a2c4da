#include "controller/logic/memory_figures.h"
#include "runtime/format_text.h"

#include <cstdio>

void FormatUnsigned64(char* out, std::size_t outSize, std::uint64_t value)
{
    if (out == nullptr || outSize == 0)
        return;
    char digits[24];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    std::size_t written = 0;
    while (count > 0 && written + 1 < outSize)
        out[written++] = digits[--count];
    out[written] = '\0';
}

void FormatFreeMemoryLine(char* out, std::size_t outSize, const char* when, std::uint64_t availableBytes)
{
    char bytes[24];
    FormatUnsigned64(bytes, sizeof bytes, availableBytes);
    FormatText(out, outSize, "\r\nFree physical memory at %s: %s bytes (%5.2f MB)", when, bytes,
               static_cast<double>(availableBytes) / 1048576.0);
}
