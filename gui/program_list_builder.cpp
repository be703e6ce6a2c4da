#include "program_list_builder.h"

#include "framework/list_ctrl.h"
#include "gui/logic/list_entries.h"
#include "profile/profile_keys.h"

#include <cstring>

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

void ProgramListBuilder::FindPaths()
{
    if (!m_list)
        return;
    using QueryImageNameFn = BOOL(WINAPI*)(HANDLE process, DWORD flags, LPSTR name, PDWORD size);
    const DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
    HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
    auto query = kernel && !UsesPsapi() && IsNtFamily() ? reinterpret_cast<QueryImageNameFn>(
                     reinterpret_cast<void*>(::GetProcAddress(kernel, "QueryFullProcessImageNameA")))
                                                        : nullptr;
    for (int row = 0; row < m_list->GetItemCount(); ++row) {
        DWORD processId = static_cast<DWORD>(m_list->GetItemData(row));
        if (query) {
            HANDLE process = ::OpenProcess(kQueryLimitedInformation, FALSE, processId);
            if (process) {
                char path[MAX_PATH] = {};
                DWORD size = MAX_PATH;
                BOOL named = query(process, 0, path, &size);
                ::CloseHandle(process);
                if (named && size > 0 && size < MAX_PATH) {
                    const char* slash = std::strrchr(path, '\\');
                    OnModule(nullptr, path, slash ? slash + 1 : path);
                    continue;
                }
            }
        }
        EnumerateModules(processId);
    }
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
    // A profile value is read back in 255 characters: a longer path would come back cut
    // and restart the wrong program. Its short form stands in for it; without one that
    // fits, the row is left out as one whose module cannot be read.
    char shortPath[MAX_PATH] = {};
    if (std::strlen(fullPath) > gui_logic::kMaxProgramPathChars) {
        const DWORD length = ::GetShortPathNameA(fullPath, shortPath, sizeof shortPath);
        if (length == 0 || length > gui_logic::kMaxProgramPathChars)
            return TRUE;
        fullPath = shortPath;
    }
    m_list->SetItemText(row, kPathColumn, fullPath);
    char value[profile::kValueBufferSize] = {};
    ::GetPrivateProfileStringA(profile::kPrograms, moduleName, profile::kActionNoAction, value, sizeof value,
                               m_profile.c_str());
    m_list->SetItemText(row, kActionColumn, gui_logic::RunningProgramAction(value));
    return TRUE;
}
