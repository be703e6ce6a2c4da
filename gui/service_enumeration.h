// The Win32 services the Service Control Manager knows, however many there are: the
// enumeration follows the resume handle and grows its buffer until every entry has
// been read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ServiceRecord {
    std::string keyName;
    std::string displayName;
    DWORD currentState = 0;
};

using EnumServicesStatusExAFn = BOOL(WINAPI*)(SC_HANDLE, SC_ENUM_TYPE, DWORD, DWORD, LPBYTE, DWORD, LPDWORD,
                                              LPDWORD, LPDWORD, LPCSTR);

// Fills services (in the order the manager returns them, each key once). False with
// *error set when a call fails for another reason than a full buffer, or when the
// entry point is missing (ERROR_PROC_NOT_FOUND).
bool EnumerateAllServices(EnumServicesStatusExAFn enumerate, SC_HANDLE manager,
                          std::vector<ServiceRecord>* services, DWORD* error);
