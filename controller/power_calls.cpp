#include "controller/power_calls.h"

#include "runtime/entry_point.h"

const PowerCalls& SystemPowerCalls()
{
    static PowerCalls calls;
    static bool loaded = false;
    if (loaded)
        return calls;
    loaded = true;
    HMODULE powrprof = LoadLibraryA("powrprof.dll");
    calls.getActiveScheme = LookUp<decltype(calls.getActiveScheme)>(powrprof, "PowerGetActiveScheme");
    calls.setActiveScheme = LookUp<decltype(calls.setActiveScheme)>(powrprof, "PowerSetActiveScheme");
    calls.readFriendlyName = LookUp<decltype(calls.readFriendlyName)>(powrprof, "PowerReadFriendlyName");
    calls.getActivePwrScheme = LookUp<decltype(calls.getActivePwrScheme)>(powrprof, "GetActivePwrScheme");
    calls.setActivePwrScheme = LookUp<decltype(calls.setActivePwrScheme)>(powrprof, "SetActivePwrScheme");
    calls.enumPwrSchemes = LookUp<decltype(calls.enumPwrSchemes)>(powrprof, "EnumPwrSchemes");
    calls.callNtPowerInformation =
        LookUp<decltype(calls.callNtPowerInformation)>(powrprof, "CallNtPowerInformation");
    return calls;
}
