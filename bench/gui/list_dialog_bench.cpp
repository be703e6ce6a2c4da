// bench_list_dialog programs|services
//   Opens the Programs or Services dialog on the default profile as the main window
//   would, without the main window (bench/programs_dialog.sh, bench/services_dialog.sh
//   time it to a painted, filled dialog with bench_startup_probe).
// bench_list_dialog parts-programs|parts-services
//   Times the pieces of filling the list one by one and prints them (milliseconds).
#include "framework/list_ctrl.h"
#include "framework/win_app.h"
#include "globals.h"
#include "program_list_builder.h"
#include "dialogs/programs_dlg.h"
#include "service_enumeration.h"
#include "dialogs/services_dlg.h"
#include "settings_setup.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void ProgramParts()
{
    HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", LVS_REPORT, 0, 0, 400, 300, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    CListCtrl control(list);
    for (int column = 0; column < 4; ++column)
        control.InsertColumn(column, "c", LVCFMT_LEFT, 100);
    double start = Now();
    ProgramListBuilder builder;
    builder.m_list = &control;
    builder.m_profile = g_currentProfile;
    builder.LoadHelperLibraries();
    builder.EnumerateProcesses();
    double processes = Now();
    for (int row = 0; row < control.GetItemCount(); ++row)
        builder.EnumerateModules(static_cast<DWORD>(control.GetItemData(row)));
    double modules = Now();
    builder.FindPaths();
    double named = Now();
    int icons = 0;
    for (int row = 0; row < control.GetItemCount(); ++row) {
        std::string path = control.GetItemText(row, 1);
        if (path.empty())
            continue;
        HICON icon = ::ExtractIconA(::GetModuleHandleA(nullptr), path.c_str(), 0);
        if (reinterpret_cast<UINT_PTR>(icon) > 1) {
            ::DestroyIcon(icon);
            ++icons;
        }
    }
    double extracted = Now();
    std::printf(
        "rows %d: process walk %.1f ms, module walks of every process %.1f ms, paths as the dialog finds "
        "them "
        "%.1f ms, icon extraction (%d icons, no cache) %.1f ms\n",
        control.GetItemCount(), processes - start, modules - processes, named - modules, icons,
        extracted - named);
    ::DestroyWindow(list);
}

void ServiceParts()
{
    using QueryConfig2Fn = BOOL(WINAPI*)(SC_HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
    HMODULE advapi = ::LoadLibraryA("Advapi32.dll");
    auto enumerate = reinterpret_cast<EnumServicesStatusExAFn>(
        reinterpret_cast<void*>(::GetProcAddress(advapi, "EnumServicesStatusExA")));
    auto query = reinterpret_cast<QueryConfig2Fn>(
        reinterpret_cast<void*>(::GetProcAddress(advapi, "QueryServiceConfig2A")));
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager || !enumerate || !query) {
        std::printf("no service manager\n");
        return;
    }
    double start = Now();
    std::vector<ServiceRecord> services;
    DWORD error = 0;
    EnumerateAllServices(enumerate, manager, &services, &error);
    double listed = Now();
    std::vector<BYTE> buffer(4096);
    for (const ServiceRecord& service : services) {
        SC_HANDLE handle = ::OpenServiceA(manager, service.keyName.c_str(), SERVICE_QUERY_CONFIG);
        DWORD needed = 0;
        query(handle, SERVICE_CONFIG_DESCRIPTION, buffer.data(), static_cast<DWORD>(buffer.size()), &needed);
        if (handle)
            ::CloseServiceHandle(handle);
    }
    double described = Now();
    char value[256];
    for (const ServiceRecord& service : services)
        ::GetPrivateProfileStringA("Services", service.keyName.c_str(), "No Action", value, sizeof value,
                                   g_currentProfile.c_str());
    double read = Now();
    std::printf(
        "services %u: enumeration %.1f ms, description queries of every row %.1f ms (the dialog queries only "
        "the rows it shows), one profile read per row %.1f ms (the dialog reads the section once)\n",
        static_cast<unsigned>(services.size()), listed - start, described - listed, read - described);
    ::CloseServiceHandle(manager);
}

}  // namespace

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    static CWinApp app("Zephlaunch");
    if (!SetUpSettingsFolders(nullptr))
        return 1;
    EnsureDefaultProfile();
    const char* mode = argc > 1 ? argv[1] : "programs";
    if (std::strcmp(mode, "parts-programs") == 0) {
        ProgramParts();
        return 0;
    }
    if (std::strcmp(mode, "parts-services") == 0) {
        ServiceParts();
        return 0;
    }
    if (std::strcmp(mode, "services") == 0) {
        CServicesDlg dialog;
        dialog.DoModal();
    } else {
        CProgramsDlg dialog;
        dialog.DoModal();
    }
    return 0;
}
