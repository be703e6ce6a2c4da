#include <gtest/gtest.h>

#include <cstdint>

#include "controller/logic/memory_figures.h"

TEST(MemoryFigures, ExactBytesBeyondFourGigabytes)
{
    char line[128];
    FormatFreeMemoryLine(line, sizeof line, "start", 6442450944ull);  // 6 GiB
    EXPECT_STREQ(line, "\r\nFree physical memory at start: 6442450944 bytes (6144.00 MB)");
    FormatFreeMemoryLine(line, sizeof line, "end", 3221225472ull);  // above 2 GiB: no negative figure
    EXPECT_STREQ(line, "\r\nFree physical memory at end: 3221225472 bytes (3072.00 MB)");
    FormatFreeMemoryLine(line, sizeof line, "end", 1048576ull);
    EXPECT_STREQ(line, "\r\nFree physical memory at end: 1048576 bytes ( 1.00 MB)");
}

TEST(MemoryFigures, Unsigned64Text)
{
    char text[24];
    FormatUnsigned64(text, sizeof text, 0);
    EXPECT_STREQ(text, "0");
    FormatUnsigned64(text, sizeof text, UINT64_MAX);
    EXPECT_STREQ(text, "18446744073709551615");
    char small[3];
    FormatUnsigned64(small, sizeof small, 12345);
    EXPECT_STREQ(small, "12");
}
