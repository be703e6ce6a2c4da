// CServicesDlg: edits [Services] of the current profile. Lists every Win32 service the
// Service Control Manager knows with its description, state and action; the help
// window shows the service-help file's text for the service under the mouse. Entries
// of services that are not installed here are written back unchanged by Save.
#pragma once

#include "dialogs/action_list_dlg.h"
#include "service_enumeration.h"

#include <winsvc.h>

#include <map>
#include <string>

class CServicesDlg : public CActionListDlg {
public:
    explicit CServicesDlg(HWND parent = nullptr);
    ~CServicesDlg() override;

    enum Column { kService = 0, kDescription = 1, kState = 2, kAction = 3 };

    // How the dialog opens the Service Control Manager (a test may put a failing open here).
    using OpenManagerFn = SC_HANDLE(WINAPI*)(LPCSTR machine, LPCSTR database, DWORD access);
    static OpenManagerFn s_openManager;

    // The key name a row stands for (its item data).
    std::string KeyOfRow(int row) const;
    std::string HelpTextOfRow(int row) const;

protected:
    void AddColumns() override;
    bool OpenData() override;
    bool FillList() override;
    bool IsRunningRow(int row) const override;
    bool IsNeverStopRow(int row) const override;
    void OnHotTrack(int row) override;
    bool OnListNotify(NMHDR* header, LRESULT* result) override;
    bool IsDeferredColumn(int column) const override { return column == kDescription; }
    bool WriteSection() override;
    const char* SavedMessage() const override { return "Service settings have been saved."; }
    void ReleaseRows() override;
    void CloseData() override;

private:
    std::string DescriptionOf(const char* keyName) const;
    // The description of a row, read when the list first shows it and then kept.
    const std::string& CachedDescription(int row);

    using QueryServiceConfig2AFn = BOOL(WINAPI*)(SC_HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
    HMODULE m_advapi = nullptr;
    QueryServiceConfig2AFn m_queryConfig2 = nullptr;
    EnumServicesStatusExAFn m_enumServices = nullptr;
    SC_HANDLE m_manager = nullptr;
    std::map<std::string, std::string> m_descriptions;  // by key name
};
