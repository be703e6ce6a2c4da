// Functions that the oldest Windows these programs load on lacks are looked up by name at
// run time, so that the import table never names them.
#pragma once

#include <windows.h>

// The named export of an already loaded module as the function type Fn; null when the
// module is null or does not export it.
template <typename Fn>
Fn LookUp(HMODULE module, const char* name)
{
    return module == nullptr ? nullptr
                             : reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}
