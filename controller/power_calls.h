// The power-management calls of powrprof.dll, looked up at run time (Windows 9x/ME and NT 4.0
// have no such library, and Windows 2000/XP lack the calls of Vista and later). This table is
// the one place the controller reaches power plans through, so that a stand-in library of the
// same name can play a machine's plans where the system's own keeps none.
#pragma once

#include <windows.h>

// EnumPwrSchemes' view of one scheme's policy: the parts that tell the "Always On" scheme.
struct SchemePolicy {
    ULONG revision;
    UCHAR idleActionAc[12];  // POWER_ACTION_POLICY IdleAc
    UCHAR idleActionDc[12];
    ULONG idleTimeoutAc;  // seconds before standby; 0: never
    ULONG idleTimeoutDc;
    UCHAR idleSensitivityAc;
    UCHAR idleSensitivityDc;
    UCHAR throttlePolicyAc;  // PO_THROTTLE_NONE (0): the processor is never slowed
    UCHAR throttlePolicyDc;
};
// The callback of EnumPwrSchemes: index, name (UTF-16, size in bytes), description, policy.
using SchemeVisit = BOOLEAN(CALLBACK*)(UINT index, DWORD nameBytes, LPWSTR name, DWORD descriptionBytes,
                                       LPWSTR description, SchemePolicy* policy, LPARAM context);

struct PowerCalls {
    // Windows Vista and later.
    DWORD(WINAPI* getActiveScheme)(HKEY root, GUID** active);  // *active freed with LocalFree
    DWORD(WINAPI* setActiveScheme)(HKEY root, const GUID* scheme);
    DWORD(WINAPI* readFriendlyName)
    (HKEY root, const GUID* scheme, const GUID* subgroup, const GUID* setting, UCHAR* buffer,
     DWORD* bufferBytes);
    // Windows 2000 and XP.
    BOOLEAN(WINAPI* getActivePwrScheme)(UINT* index);
    BOOLEAN(WINAPI* setActivePwrScheme)(UINT index, void* globalPolicy, void* policy);
    BOOLEAN(WINAPI* enumPwrSchemes)(SchemeVisit visit, LPARAM context);
    // Both: SystemBatteryState (5) fills a SYSTEM_BATTERY_STATE; returns an NTSTATUS.
    LONG(WINAPI* callNtPowerInformation)
    (int level, void* input, ULONG inputBytes, void* output, ULONG outputBytes);
};

// powrprof.dll's calls, loaded once (the library stays loaded); a missing call is null.
const PowerCalls& SystemPowerCalls();
