#include "controller/service_open.h"

SC_HANDLE OpenServiceWithRights(SC_HANDLE manager, const char* name, DWORD rights)
{
    return OpenServiceA(manager, name, rights);
}

DWORD RequestServiceStop(SC_HANDLE service)
{
    SERVICE_STATUS status;
    ZeroMemory(&status, sizeof status);
    return ControlService(service, SERVICE_CONTROL_STOP, &status) ? ERROR_SUCCESS : GetLastError();
}
