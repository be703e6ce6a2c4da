#include "dialogs/services_dlg.h"

#include "configure_profile.h"
#include "framework/dpi.h"
#include "globals.h"
#include "gui_strings.h"
#include "message_box.h"
#include "gui/logic/action_choice.h"
#include "gui/logic/list_entries.h"
#include "gui/logic/service_texts.h"
#include "profile/never_stop.h"
#include "profile/profile_keys.h"
#include "resource.h"
#include "runtime/entry_point.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const size_t kKeyBlockSize = 256;
const DWORD kDescriptionBufferSize = 4096;

const CActionListDlg::Texts kServicesTexts = {
    gui::kServicesWindowSection,
    "Services",
    "Services Help",
    "Reset all Services to No Action",
    "Show only running services",
    "This will reset the Action for all services to 'No Action'.  Are you sure you want to do this?",
};

}  // namespace

CServicesDlg::OpenManagerFn CServicesDlg::s_openManager = &::OpenSCManagerA;

CServicesDlg::CServicesDlg(HWND parent) : CActionListDlg(IDD_SERVICES, parent, kServicesTexts)
{
    m_advapi = ::LoadLibraryA("Advapi32.dll");
    m_queryConfig2 = LookUp<QueryServiceConfig2AFn>(m_advapi, "QueryServiceConfig2A");
    m_enumServices = LookUp<EnumServicesStatusExAFn>(m_advapi, "EnumServicesStatusExA");
}

CServicesDlg::~CServicesDlg()
{
    ReleaseRows();
    CloseData();
    if (m_advapi)
        ::FreeLibrary(m_advapi);
}

void CServicesDlg::AddColumns()
{
    m_list.InsertColumn(kService, "Service", LVCFMT_LEFT, ScaledPixels(100));
    m_list.InsertColumn(kDescription, "Description", LVCFMT_LEFT, ScaledPixels(100));
    m_list.InsertColumn(kState, "State", LVCFMT_LEFT, ScaledPixels(75));
    m_list.InsertColumn(kAction, "Action", LVCFMT_LEFT, ScaledPixels(100));
    m_list.m_editColumn = kAction;
}

bool CServicesDlg::OpenData()
{
    // Listing and reading: full access is for administrators only.
    m_manager = s_openManager(nullptr, nullptr, SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE);
    if (m_manager)
        return true;
    char text[160];
    std::snprintf(text, sizeof text,
                  "Zephlaunch was unable to open the Service Control Manager.  The error code is %d",
                  static_cast<int>(::GetLastError()));
    ShowMessageBox(m_hWnd, text, MB_OK | MB_ICONEXCLAMATION);
    EndDialog(0);
    return false;
}

void CServicesDlg::CloseData()
{
    if (m_manager) {
        ::CloseServiceHandle(m_manager);
        m_manager = nullptr;
    }
}

void CServicesDlg::ReleaseRows()
{
    if (m_list.IsWindow()) {
        for (int row = 0; row < m_list.GetItemCount(); ++row) {
            delete[] reinterpret_cast<char*>(m_list.GetItemData(row));
            m_list.SetItemData(row, 0);
        }
    }
    for (HiddenRow& hidden : m_hiddenRows) {
        delete[] reinterpret_cast<char*>(hidden.data);
        hidden.data = 0;
    }
}

std::string CServicesDlg::DescriptionOf(const char* keyName) const
{
    SC_HANDLE service = ::OpenServiceA(m_manager, keyName, SERVICE_QUERY_CONFIG);
    std::vector<BYTE> buffer(kDescriptionBufferSize, 0);
    DWORD needed = 0;
    BOOL ok = m_queryConfig2
              && m_queryConfig2(service, SERVICE_CONFIG_DESCRIPTION, buffer.data(),
                                static_cast<DWORD>(buffer.size()), &needed);
    if (!ok && m_queryConfig2 && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > buffer.size()) {
        buffer.assign(needed, 0);
        ok = m_queryConfig2(service, SERVICE_CONFIG_DESCRIPTION, buffer.data(), needed, &needed);
    }
    DWORD error = ok ? ERROR_SUCCESS : (m_queryConfig2 ? ::GetLastError() : ERROR_PROC_NOT_FOUND);
    if (service)
        ::CloseServiceHandle(service);
    if (!ok)
        return gui_logic::DescriptionErrorText(error);
    const auto* description = reinterpret_cast<const SERVICE_DESCRIPTIONA*>(buffer.data());
    return description->lpDescription ? description->lpDescription : "";
}

bool CServicesDlg::FillList()
{
    ReleaseRows();
    m_list.DeleteAllItems();

    std::vector<ServiceRecord> services;
    DWORD error = ERROR_SUCCESS;
    if (!EnumerateAllServices(m_enumServices, m_manager, &services, &error)) {
        char text[160];
        std::snprintf(text, sizeof text, "Zephlaunch was unable to enumerate services.  The error code is %d",
                      static_cast<int>(error));
        ShowMessageBox(m_hWnd, text, MB_OK | MB_ICONEXCLAMATION);
        EndDialog(0);
        return false;
    }

    // Inserted in the order the sorted list will have them, each insertion finds its
    // place at once.
    std::stable_sort(services.begin(), services.end(), [](const ServiceRecord& a, const ServiceRecord& b) {
        return ::lstrcmpiA(a.displayName.c_str(), b.displayName.c_str()) < 0;
    });
    // The profile's actions, read in one go rather than once per service.
    std::vector<char> section = ReadWholeSection(profile::kServices, g_currentProfile.c_str());
    gui_logic::SectionLookup actions(gui_logic::ParseSection(section.data(), section.size()),
                                     profile::kValueBufferSize);
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    for (const ServiceRecord& service : services) {
        std::string display = gui_logic::TrimTrailingWhiteSpace(service.displayName);
        int row = m_list.InsertItem(m_list.GetItemCount() + 1, display.c_str(), 0);
        if (row < 0)
            continue;
        char* key = new char[kKeyBlockSize];
        lstrcpynA(key, service.keyName.c_str(), static_cast<int>(kKeyBlockSize));
        m_list.SetItemData(row, reinterpret_cast<LPARAM>(key));
        m_list.SetItemText(row, kState, gui_logic::ServiceStateText(service.currentState));
        // Descriptions are read when a row is shown: one query per service is what
        // makes a long list slow to open.
        m_list.SetItemText(row, kDescription, LPSTR_TEXTCALLBACKA);
        m_list.SetItemText(row, kAction, actions.Value(key, profile::kActionNoAction).c_str());
    }
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate(true);
    return true;
}

const std::string& CServicesDlg::CachedDescription(int row)
{
    std::string key = KeyOfRow(row);
    auto known = m_descriptions.find(key);
    if (known == m_descriptions.end())
        known = m_descriptions.emplace(key, DescriptionOf(key.c_str())).first;
    return known->second;
}

bool CServicesDlg::OnListNotify(NMHDR* header, LRESULT* result)
{
    if (header->code == LVN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (info->item.iSubItem == kDescription && (info->item.mask & LVIF_TEXT) && info->item.pszText
            && info->item.cchTextMax > 0) {
            lstrcpynA(info->item.pszText, CachedDescription(info->item.iItem).c_str(), info->item.cchTextMax);
            info->item.mask |= LVIF_DI_SETITEM;
        }
        *result = 0;
        return true;
    }
    if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (info->item.iSubItem == kDescription && (info->item.mask & LVIF_TEXT) && info->item.pszText
            && info->item.cchTextMax > 0) {
            if (!::MultiByteToWideChar(CP_ACP, 0, CachedDescription(info->item.iItem).c_str(), -1,
                                       info->item.pszText, info->item.cchTextMax))
                info->item.pszText[0] = L'\0';
            info->item.mask |= LVIF_DI_SETITEM;
        }
        *result = 0;
        return true;
    }
    return false;
}

bool CServicesDlg::IsRunningRow(int row) const
{
    return m_list.GetItemText(row, kState) == gui_logic::ServiceStateText(SERVICE_RUNNING);
}

std::string CServicesDlg::KeyOfRow(int row) const
{
    const char* key = reinterpret_cast<const char*>(m_list.GetItemData(row));
    return key ? std::string(key, strnlen(key, kKeyBlockSize)) : std::string();
}

std::string CServicesDlg::HelpTextOfRow(int row) const
{
    // One key is read, so no entry is lost however large the file is; the
    // private-profile functions match the key without regard to letter case.
    char value[512] = {};
    std::string key = KeyOfRow(row);
    if (!key.empty())
        ::GetPrivateProfileStringA("ServicesHelp", key.c_str(), "", value, sizeof value, g_serviceHelpFile);
    return gui_logic::ServiceHelpText(m_list.GetItemText(row, kService), value);
}

bool CServicesDlg::IsNeverStopRow(int row) const
{
    std::string key = KeyOfRow(row);
    return !key.empty() && profile::IsNeverStopService(key.c_str());
}

void CServicesDlg::OnHotTrack(int row)
{
    std::string text = HelpTextOfRow(row);
    if (IsNeverStopRow(row))
        text = gui_logic::NeverStopHelpText(m_list.GetItemText(row, kService), text);
    SetHelpText(text);
}

bool CServicesDlg::WriteSection()
{
    const char* file = g_currentProfile.c_str();
    std::vector<std::string> keys;
    std::vector<std::pair<std::string, std::string>> rows;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        rows.emplace_back(KeyOfRow(row), m_list.GetItemText(row, kAction));
    for (const HiddenRow& hidden : m_hiddenRows) {
        const char* key = reinterpret_cast<const char*>(hidden.data);
        if (key && hidden.cells.size() > kAction)
            rows.emplace_back(std::string(key, strnlen(key, kKeyBlockSize)), hidden.cells[kAction]);
    }
    for (const auto& row : rows)
        keys.push_back(row.first);
    // Entries of services this machine does not have go back unchanged.
    std::vector<char> section = ReadWholeSection(profile::kServices, file);
    gui_logic::SectionEntries kept =
        gui_logic::EntriesNotIn(gui_logic::ParseSection(section.data(), section.size()), keys);

    DWORD error = ERROR_SUCCESS;
    DeleteProfileSection(profile::kServices, file, &error);
    auto write = [&](const std::string& key, const std::string& value) {
        if (error == ERROR_SUCCESS
            && !::WritePrivateProfileStringA(profile::kServices, key.c_str(), value.c_str(), file))
            error = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
    };
    for (const auto& row : rows)
        if (!row.first.empty())
            write(row.first, row.second);
    for (const auto& entry : kept)
        write(entry.first, entry.second);
    if (error == ERROR_SUCCESS)
        return true;
    char text[160];
    std::snprintf(text, sizeof text, "Service settings could not be saved (error = %d).",
                  static_cast<int>(error));
    ShowMessageBox(m_hWnd, text, MB_OK | MB_ICONEXCLAMATION);
    return false;
}
