#include "dialogs/programs_dlg.h"

#include "configure_profile.h"
#include "framework/dpi.h"
#include "framework/data_exchange.h"
#include "framework/win_app.h"
#include "globals.h"
#include "gui_strings.h"
#include "message_box.h"
#include "gui/logic/action_choice.h"
#include "gui/logic/list_entries.h"
#include "profile/never_stop.h"
#include "profile/profile_keys.h"
#include "program_list_builder.h"
#include "resource.h"

#include <shellapi.h>

#include <cstdio>
#include <map>
#include <memory>
#include <new>
#include <vector>

namespace {

const CActionListDlg::Texts kProgramsTexts = {
    gui::kProgramsWindowSection,
    "Programs",
    "Programs Help",
    "Reset all Programs to No Action",
    "Show only programs currently running",
    "This will reset the Action for all programs to 'No Action'.  Are you sure you want to do this?",
};

// A row's icon: the program's own, else the one its file type shows; null when neither.
HICON ExtractRowIcon(const std::string& path)
{
    if (path.empty())
        return nullptr;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HICON icon = ::ExtractIconA(instance, path.c_str(), 0);
    // ExtractIcon gives 1 for a file that holds no icons at all.
    if (reinterpret_cast<UINT_PTR>(icon) > 1)
        return icon;
    char buffer[MAX_PATH] = {};
    lstrcpynA(buffer, path.c_str(), MAX_PATH);
    WORD index = 0;
    return ::ExtractAssociatedIconA(instance, buffer, &index);
}

}  // namespace

CProgramsDlg::CProgramsDlg(HWND parent) : CActionListDlg(IDD_PROGRAMS, parent, kProgramsTexts) {}

CProgramsDlg::~CProgramsDlg() = default;

void CProgramsDlg::DoDataExchange(CDataExchange* dx)
{
    CActionListDlg::DoDataExchange(dx);
    DDX_Control(dx, IDC_LIST_REMOVE, m_removeButton);
}

void CProgramsDlg::AddExtraButtons()
{
    m_removeButton.SetIcon(IDI_DELETE, CIconButton::kDarkened);
    m_removeButton.SetFlat(true, true);
}

void CProgramsDlg::AddExtraToolTips(std::vector<ToolTipEntry>* tips)
{
    tips->push_back({IDC_LIST_REMOVE,
                     "Remove a program from the list.\r\n\nUseful if you know a program will not\r\nbe "
                     "running and want to clean up\r\nthe list."});
}

void CProgramsDlg::AddColumns()
{
    // A name the profile could not read back as its key, or one another row has (Save
    // would write that key twice), is refused, and the row stays.
    m_list.m_acceptRename = [this](int row, const std::string& name) {
        bool taken = false;
        for (int other = 0; other < m_list.GetItemCount(); ++other)
            taken =
                taken || (other != row && gui_logic::EqualsNoCase(m_list.GetItemText(other, kModule), name));
        for (const HiddenRow& hidden : m_hiddenRows)
            taken = taken || (!hidden.cells.empty() && gui_logic::EqualsNoCase(hidden.cells[kModule], name));
        const char* refusal = nullptr;
        if (!gui_logic::IsReadableKey(name))
            refusal =
                "A program's name can be neither empty nor longer than 255 characters, and it "
                "cannot hold \"=\": the profile could not read it back.";
        else if (taken)
            refusal = "Another row has this name already: the profile keeps one entry per name.";
        if (!refusal)
            return true;
        ShowMessageBox(m_hWnd, refusal, MB_OK | MB_ICONEXCLAMATION);
        return false;
    };
    m_list.InsertColumn(kModule, "Module", LVCFMT_LEFT, ScaledPixels(100));
    m_list.InsertColumn(kPath, "Path", LVCFMT_LEFT, ScaledPixels(100));
    m_list.InsertColumn(kAction, "Action", LVCFMT_LEFT, ScaledPixels(100));
    m_list.InsertColumn(kRunning, "Currently Running?", LVCFMT_LEFT, ScaledPixels(30));
    m_list.m_editColumn = kAction;
}

bool CProgramsDlg::FillList()
{
    m_list.SendMessage(WM_SETREDRAW, FALSE);
    m_list.DeleteAllItems();
    HIMAGELIST previous = m_rowImages.Detach();
    const int iconSize = ScaledPixels(16);
    if (m_rowImages.Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_rowImages.SetBkColor(RGB(255, 255, 255));
        HICON fallback = static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_DELETE),
                                                         IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR));
        if (fallback) {
            m_rowImages.Add(fallback);
            ::DestroyIcon(fallback);
        }
        m_list.SetImageList(m_rowImages, LVSIL_SMALL);
    } else {
        m_list.SetImageList(nullptr, LVSIL_SMALL);  // never a destroyed list in the view
    }
    if (previous)
        ImageList_Destroy(previous);

    {
        ProgramListBuilder builder;
        builder.m_list = &m_list;
        builder.m_profile = g_currentProfile;
        builder.LoadHelperLibraries();
        builder.EnumerateProcesses();
        builder.FindPaths();
    }
    // Processes whose modules could not be read, and further copies of a program.
    for (int row = m_list.GetItemCount() - 1; row >= 0; --row)
        if (m_list.GetItemText(row, kPath).empty())
            m_list.DeleteItem(row);

    AddProfileRows();
    SetRowIcons();
    m_list.SendMessage(WM_SETREDRAW, TRUE);
    m_list.Invalidate(true);
    return true;
}

void CProgramsDlg::AddProfileRows()
{
    std::vector<char> section = ReadWholeSection(profile::kPrograms, g_currentProfile.c_str());
    std::vector<std::string> shown;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        shown.push_back(m_list.GetItemText(row, kModule));
    for (const auto& entry : gui_logic::ParseSection(section.data(), section.size())) {
        bool running = false;
        for (const std::string& module : shown)
            if (gui_logic::EqualsNoCase(module, entry.first)) {
                running = true;
                break;
            }
        if (running)
            continue;
        gui_logic::ProgramValue value = gui_logic::SplitProgramValue(entry.second);
        int row = m_list.InsertItem(m_list.GetItemCount() + 1, entry.first.c_str(), 0);
        if (row < 0)
            continue;
        m_list.SetItemData(row, 0);
        m_list.SetItemText(row, kAction, value.action.c_str());
        m_list.SetItemText(row, kPath, value.path.c_str());
        shown.push_back(entry.first);
    }
}

void CProgramsDlg::SetRowIcons()
{
    if (!m_rowImages.GetSafeHandle())
        return;
    // Several rows may name one file; its icon is extracted once.
    std::map<std::string, int> imageOfPath;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        std::string path = m_list.GetItemText(row, kPath);
        auto known = imageOfPath.find(path);
        if (known == imageOfPath.end()) {
            int image = -1;
            HICON icon = ExtractRowIcon(path);
            if (icon) {
                image = ImageList_ReplaceIcon(m_rowImages, -1, icon);
                ::DestroyIcon(icon);
            }
            known = imageOfPath.emplace(path, image).first;
        }
        if (known->second >= 0)
            m_list.SetItemImage(row, known->second);
    }
}

bool CProgramsDlg::IsRunningRow(int row) const { return !m_list.GetItemText(row, kRunning).empty(); }

std::string CProgramsDlg::VersionTextOfRow(int row, gui_logic::VersionTrigger trigger, bool* failed) const
{
    *failed = true;
    const std::string module = m_list.GetItemText(row, kModule);
    const std::string path = m_list.GetItemText(row, kPath);
    DWORD handle = 0;
    DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return gui_logic::VersionSizeErrorText(::GetLastError(), trigger);
    // The size comes from the file: a block that cannot be had is reported, not fatal.
    std::unique_ptr<char[]> block(new (std::nothrow) char[size]);
    if (!block)
        return gui_logic::kVersionAllocationError;
    if (!::GetFileVersionInfoA(path.c_str(), handle, size, block.get()))
        return gui_logic::VersionReadErrorText(::GetLastError());
    *failed = false;

    void* translation = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.get(), "\\VarFileInfo\\Translation", &translation, &length) || length <= 3
        || !translation)
        return gui_logic::VersionHeader(module, path);
    const WORD* pair = static_cast<const WORD*>(translation);
    std::string values[gui_logic::kVersionFieldCount];
    for (int field = 0; field < gui_logic::kVersionFieldCount; ++field) {
        auto which = static_cast<gui_logic::VersionField>(field);
        std::string name = gui_logic::VersionSubBlock(which, pair[0], pair[1]);
        void* value = nullptr;
        UINT valueLength = 0;
        bool queried = ::VerQueryValueA(block.get(), name.c_str(), &value, &valueLength) != FALSE;
        values[field] = gui_logic::VersionValueText(trigger, which, queried, static_cast<const char*>(value),
                                                    valueLength);
    }
    return gui_logic::VersionText(module, path, values);
}

bool CProgramsDlg::IsNeverStopRow(int row) const
{
    return profile::IsNeverStopProcess(m_list.GetItemText(row, kModule).c_str());
}

void CProgramsDlg::OnHotTrack(int row)
{
    bool failed = false;
    std::string text = VersionTextOfRow(row, gui_logic::VersionTrigger::HotTrack, &failed);
    if (IsNeverStopRow(row))
        text = gui_logic::NeverStopHelpText(m_list.GetItemText(row, kModule), text);
    SetHelpText(text);
}

bool CProgramsDlg::OnListNotify(NMHDR* header, LRESULT* result)
{
    if (header->code != NM_RCLICK)
        return false;
    int row = m_list.GetSelectionMark();
    if (row >= 0) {
        bool failed = false;
        std::string text = VersionTextOfRow(row, gui_logic::VersionTrigger::RightClick, &failed);
        if (failed)
            ShowMessageBox(m_hWnd, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
        else
            SetHelpText(text);
    }
    *result = 0;
    return true;
}

bool CProgramsDlg::OnCommand(UINT code, UINT id, HWND control)
{
    if (code == BN_CLICKED && id == IDC_LIST_REMOVE) {
        RemoveSelectedRow();
        return true;
    }
    return CActionListDlg::OnCommand(code, id, control);
}

void CProgramsDlg::RemoveSelectedRow()
{
    if (m_list.GetSelectedCount() == 0)
        return;
    int row = m_list.GetSelectionMark();
    if (row >= 0 && m_list.DeleteItem(row))
        m_list.m_modified = true;  // the profile still names it
}

bool CProgramsDlg::WriteSection()
{
    const char* file = g_currentProfile.c_str();
    DWORD error = ERROR_SUCCESS;
    auto write = [&](const char* key, const char* value) {
        if (!::WritePrivateProfileStringA(profile::kPrograms, key, value, file) && error == ERROR_SUCCESS)
            error = ::GetLastError() ? ::GetLastError() : ERROR_WRITE_FAULT;
    };
    DeleteProfileSection(profile::kPrograms, file, &error);
    for (int row = 0; row < m_list.GetItemCount() && error == ERROR_SUCCESS; ++row) {
        std::string value =
            gui_logic::JoinProgramValue(m_list.GetItemText(row, kAction), m_list.GetItemText(row, kPath));
        write(m_list.GetItemText(row, kModule).c_str(), value.c_str());
    }
    for (const HiddenRow& hidden : m_hiddenRows) {
        if (error != ERROR_SUCCESS || hidden.cells.size() <= kRunning)
            break;
        write(hidden.cells[kModule].c_str(),
              gui_logic::JoinProgramValue(hidden.cells[kAction], hidden.cells[kPath]).c_str());
    }
    if (error == ERROR_SUCCESS)
        return true;
    char text[160];
    std::snprintf(text, sizeof text, "Program settings could not be saved (error = %d).",
                  static_cast<int>(error));
    ShowMessageBox(m_hWnd, text, MB_OK | MB_ICONEXCLAMATION);
    return false;
}
