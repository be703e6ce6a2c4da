// Reads the run's profile (g_profilePath) through the private-profile functions.
#pragma once

#include <cstddef>

int ReadConfigInt(const char* key, int defaultValue);
// Reads a [Configuration] value into a buffer of profile::kValueBufferSize bytes.
void ReadConfigString(const char* key, const char* defaultValue, char* out, std::size_t outSize);

// Walks a section in file order. For each entry the key is the text before its first "="
// and the value is read again by key (so a key that occurs twice yields its first value
// both times). visit(key, value) is called once per entry.
template <typename Visit>
void WalkProfileSection(const char* section, const char* valueDefault, Visit&& visit);

// The non-template part: reads the whole section into the caller's buffer; returns
// the number of bytes read (0 for a missing or empty section).
std::size_t ReadProfileSection(const char* section, char* buffer, std::size_t bufferSize);
void ReadProfileValue(const char* section, const char* key, const char* defaultValue, char* out,
                      std::size_t outSize);

#include <memory>
#include <string>

#include "profile/profile_keys.h"
#include "profile/section_walk.h"

template <typename Visit>
void WalkProfileSection(const char* section, const char* valueDefault, Visit&& visit)
{
    std::unique_ptr<char[]> buffer(new char[profile::kSectionBufferSize]);
    const std::size_t length = ReadProfileSection(section, buffer.get(), profile::kSectionBufferSize);
    if (length == 0)
        return;
    profile::ForEachSectionKey(buffer.get(), length + 1, [&](const char* keyStart, std::size_t keyLength) {
        const std::string key(keyStart, keyLength);
        char value[profile::kValueBufferSize];
        ReadProfileValue(section, key.c_str(), valueDefault, value, sizeof value);
        visit(key.c_str(), static_cast<const char*>(value));
    });
}
