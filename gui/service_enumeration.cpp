#include "service_enumeration.h"

#include <set>

namespace {

const DWORD kFirstBufferSize = 30720;
const DWORD kLargestBufferSize = 16u * 1024u * 1024u;
const int kMostCalls = 256;

}  // namespace

bool EnumerateAllServices(EnumServicesStatusExAFn enumerate, SC_HANDLE manager,
                          std::vector<ServiceRecord>* services, DWORD* error)
{
    services->clear();
    if (!enumerate) {
        *error = ERROR_PROC_NOT_FOUND;
        return false;
    }
    std::set<std::string> seen;
    std::vector<BYTE> buffer;
    DWORD size = kFirstBufferSize;
    DWORD resume = 0;
    for (int call = 0; call < kMostCalls; ++call) {
        buffer.assign(size, 0);
        DWORD needed = 0;
        DWORD count = 0;
        const DWORD resumeBefore = resume;
        BOOL ok = enumerate(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(),
                            size, &needed, &count, &resume, nullptr);
        DWORD failure = ok ? ERROR_SUCCESS : ::GetLastError();
        if (!ok && failure != ERROR_MORE_DATA) {
            *error = failure;
            return false;
        }
        // The entries are stored at the buffer's start; their strings lie within the buffer.
        if (static_cast<size_t>(count) > size / sizeof(ENUM_SERVICE_STATUS_PROCESSA))
            count = size / sizeof(ENUM_SERVICE_STATUS_PROCESSA);
        const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSA*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) {
            const char* key = entries[i].lpServiceName;
            if (!key || !seen.insert(key).second)
                continue;
            ServiceRecord record;
            record.keyName = key;
            record.displayName = entries[i].lpDisplayName ? entries[i].lpDisplayName : "";
            record.currentState = entries[i].ServiceStatusProcess.dwCurrentState;
            services->push_back(record);
        }
        if (ok)
            return true;
        // More to come. Go on from the resume handle when the manager moved it on;
        // otherwise read everything again into a buffer of the size it asked for.
        if (count == 0 || resume == 0 || resume == resumeBefore) {
            if (size >= kLargestBufferSize)
                break;
            DWORD grown = needed > size ? needed + 4096 : size * 2;
            size = grown < kLargestBufferSize ? grown : kLargestBufferSize;
            resume = 0;
        }
    }
    *error = ERROR_MORE_DATA;
    return false;
}
