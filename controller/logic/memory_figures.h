// Text of the free-memory lines, built without any Windows types.
#pragma once

#include <cstddef>
#include <cstdint>

// "\r\nFree physical memory at <when>: <bytes> bytes (<MB> MB)" with the exact byte
// count (no 32-bit wrap-around) and the megabytes as "%5.2f".
void FormatFreeMemoryLine(char* out, std::size_t outSize, const char* when, std::uint64_t availableBytes);

// Decimal text of an unsigned 64-bit number (the C library's "%llu" is missing on old Windows).
void FormatUnsigned64(char* out, std::size_t outSize, std::uint64_t value);
