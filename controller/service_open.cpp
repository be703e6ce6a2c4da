#include "controller/service_open.h"

SC_HANDLE OpenServiceWithRights(SC_HANDLE manager, const char* name, DWORD rights)
{
    return OpenServiceA(manager, name, rights);
}
