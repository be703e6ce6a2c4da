#include "program_list_builder.h"

#include "framework/list_ctrl.h"
#include "gui/logic/list_entries.h"
#include "profile/profile_keys.h"

BOOL ProgramListBuilder::OnProcess(const char* processName, DWORD processId)
{
    if (!m_list || !processName)
        return TRUE;
    std::string rowText;
    if (!gui_logic::ProcessRowText(processName, IsNtFamily(), &rowText))
        return TRUE;
    int row = m_list->InsertItem(m_list->GetItemCount() + 1, rowText.c_str(), 0);
    if (row < 0)
        return TRUE;
    m_list->SetItemData(row, static_cast<LPARAM>(processId));
    m_list->SetItemText(row, kRunningColumn, "Yes");
    return TRUE;
}

BOOL ProgramListBuilder::OnModule(HMODULE, const char* fullPath, const char* moduleName)
{
    if (!m_list || !fullPath || !moduleName)
        return TRUE;
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = moduleName;
    int row = m_list->FindItem(&find);
    if (row < 0)
        return TRUE;
    m_list->SetItemText(row, kPathColumn, fullPath);
    char value[profile::kValueBufferSize] = {};
    ::GetPrivateProfileStringA(profile::kPrograms, moduleName, profile::kActionNoAction, value, sizeof value,
                               m_profile.c_str());
    m_list->SetItemText(row, kActionColumn, gui_logic::RunningProgramAction(value));
    return TRUE;
}
