#include "controller/profile_reader.h"

#include <windows.h>

#include "controller/run_state.h"

int ReadConfigInt(const char* key, int defaultValue)
{
    return static_cast<int>(GetPrivateProfileIntA(profile::kConfiguration, key, defaultValue, g_profilePath));
}

void ReadConfigString(const char* key, const char* defaultValue, char* out, std::size_t outSize)
{
    ReadProfileValue(profile::kConfiguration, key, defaultValue, out, outSize);
}

void ReadProfileValue(const char* section, const char* key, const char* defaultValue, char* out,
                      std::size_t outSize)
{
    if (outSize == 0)
        return;
    GetPrivateProfileStringA(section, key, defaultValue, out, static_cast<DWORD>(outSize), g_profilePath);
    out[outSize - 1] = '\0';
}

std::size_t ReadProfileSection(const char* section, char* buffer, std::size_t bufferSize)
{
    if (bufferSize < 2)
        return 0;
    const DWORD length =
        GetPrivateProfileSectionA(section, buffer, static_cast<DWORD>(bufferSize), g_profilePath);
    // A cut-off section ends in two NULs inside the buffer; keep the walk inside it.
    if (length >= bufferSize - 1) {
        buffer[bufferSize - 2] = '\0';
        buffer[bufferSize - 1] = '\0';
        return bufferSize - 2;
    }
    buffer[length] = '\0';
    return length;
}
