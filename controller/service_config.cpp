#include "controller/service_config.h"

ServiceConfig::~ServiceConfig()
{
    if (m_config != nullptr)
        LocalFree(m_config);
}

bool ServiceConfig::Allocate(DWORD size)
{
    if (m_config != nullptr)
        LocalFree(m_config);
    m_config = static_cast<QUERY_SERVICE_CONFIGA*>(LocalAlloc(LPTR, size));
    m_size = m_config != nullptr ? size : 0;
    return m_config != nullptr;
}

bool ServiceConfig::Query(SC_HANDLE service, DWORD initialSize)
{
    DWORD size = initialSize;
    // A second round covers a configuration that grew between the two calls.
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!Allocate(size))
            return false;  // LocalAlloc has set the error
        DWORD needed = 0;
        if (QueryServiceConfigA(service, m_config, m_size, &needed))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER || needed <= m_size) {
            ZeroMemory(m_config, m_size);
            SetLastError(error);
            return false;
        }
        size = needed;
    }
    ZeroMemory(m_config, m_size);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
}

const char* ServiceConfig::DisplayNameOr(const char* fallback) const
{
    if (m_config == nullptr || m_config->lpDisplayName == nullptr || m_config->lpDisplayName[0] == '\0') {
        return fallback;
    }
    return m_config->lpDisplayName;
}
