// The configuration of an open service (QueryServiceConfigA) in a zero-filled LocalAlloc
// buffer. The buffer starts at the size the caller names and is grown to what the
// system asks for, so services with long paths or dependency lists are read whole.
#pragma once

#include <windows.h>

class ServiceConfig {
public:
    ServiceConfig() = default;
    ~ServiceConfig();
    ServiceConfig(const ServiceConfig&) = delete;
    ServiceConfig& operator=(const ServiceConfig&) = delete;

    // False on failure, with the reason in GetLastError().
    bool Query(SC_HANDLE service, DWORD initialSize);
    const QUERY_SERVICE_CONFIGA* Get() const { return m_config; }
    DWORD Size() const { return m_size; }
    // The display name, or fallback when none was read.
    const char* DisplayNameOr(const char* fallback) const;

private:
    bool Allocate(DWORD size);

    QUERY_SERVICE_CONFIGA* m_config = nullptr;
    DWORD m_size = 0;
};
