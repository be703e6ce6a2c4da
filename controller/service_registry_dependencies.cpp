#include "controller/service_registry_dependencies.h"

#include <windows.h>

#include <vector>

std::string ReadRegisteredDependencies(const char* serviceName)
{
    const std::string keyPath = std::string("SYSTEM\\CurrentControlSet\\Services\\") + serviceName;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::string();
    }
    DWORD type = 0;
    DWORD size = 0;
    std::string list;
    if (RegQueryValueExA(key, "DependOnService", nullptr, &type, nullptr, &size) == ERROR_SUCCESS
        && type == REG_MULTI_SZ && size > 0) {
        std::vector<char> data(size + 2, '\0');  // room for the terminators a value may lack
        DWORD got = size;
        if (RegQueryValueExA(key, "DependOnService", nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                             &got)
                == ERROR_SUCCESS
            && got <= size) {
            list.assign(data.data(), got);
            list.append(2, '\0');
        }
    }
    RegCloseKey(key);
    return list;
}
