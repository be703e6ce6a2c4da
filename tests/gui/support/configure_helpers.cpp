#include "support/configure_helpers.h"

#include "dialogs/configure_dlg.h"
#include "globals.h"
#include "resource.h"
#include "support/gui_session.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <commctrl.h>
#include <dlgs.h>

namespace gt {

const char kConfigureTitle[] = "Zephlaunch Configuration";
const char kEditTitle[] = "Edit Auto Start Program";
const int kLaunchControls[6] = {IDC_CONFIGURE_APP_PATH,     IDC_CONFIGURE_BROWSE,
                                IDC_CONFIGURE_CMDLINE,      IDC_CONFIGURE_PRIORITY,
                                IDC_CONFIGURE_NOT_MAIN_APP, IDC_CONFIGURE_AUTOSTART_DELAY};

void ConfigureTest::SetUp()
{
    ResetSettings();
    ASSERT_TRUE(::CreateDirectoryA(SettingsFolder().c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA(ProfilesFolder().c_str(), nullptr));
    PrepareApplication();
    lstrcpynA(g_windowPosFile, WindowPosFile().c_str(), MAX_PATH);
    lstrcpynA(g_profilesFolder, ProfilesFolder().c_str(), MAX_PATH);
    lstrcpynA(g_settingsFolder, SettingsFolder().c_str(), MAX_PATH);
    g_currentProfile = DefaultProfile();
    g_showToolTips = 1;
}

void ConfigureTest::TearDown() { ResetSettings(); }

std::string ConfigureTest::Profile() { return DefaultProfile(); }

void ConfigureTest::WriteProfile(const std::string& lines) { zt::WriteFileBytes(Profile(), IniText(lines)); }

INT_PTR ConfigureTest::RunConfigure(GuiDriver& driver)
{
    driver.Start();
    CConfigureDlg dialog;
    INT_PTR result = dialog.DoModal();
    driver.StopAndExpectClean();
    return result;
}

std::string ConfigureTest::SavedRect() { return gt::SavedRect("ConfigureWindow"); }

namespace {

std::string ListText(HWND list, int row, int column)
{
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

}  // namespace

ConfigureView ReadView(HWND dialog)
{
    ConfigureView view;
    view.description = TitleOf(Item(dialog, IDC_CONFIGURE_DESCRIPTION));
    view.appPath = TitleOf(Item(dialog, IDC_CONFIGURE_APP_PATH));
    view.commandLine = TitleOf(Item(dialog, IDC_CONFIGURE_CMDLINE));
    view.priority = TitleOf(Item(dialog, IDC_CONFIGURE_PRIORITY));
    view.nonResponse = TitleOf(Item(dialog, IDC_CONFIGURE_NONRESPONSE));
    view.autoStartDelay = TitleOf(Item(dialog, IDC_CONFIGURE_AUTOSTART_DELAY));
    struct Box {
        int id;
        const char* name;
    };
    const Box boxes[] = {{IDC_CONFIGURE_DEFRAG, "defrag"},     {IDC_CONFIGURE_IDLE_TASKS, "idle"},
                         {IDC_CONFIGURE_PAUSE, "pause"},       {IDC_CONFIGURE_NOT_MAIN_APP, "notmain"},
                         {IDC_CONFIGURE_LOGGING, "logging"},   {IDC_CONFIGURE_DO_NOT_LAUNCH, "donotlaunch"},
                         {IDC_CONFIGURE_SHUTDOWN, "shutdown"}, {IDC_CONFIGURE_RESTART, "restart"}};
    for (const Box& box : boxes) {
        if (::SendMessageA(Item(dialog, box.id), BM_GETCHECK, 0, 0) == 1)
            view.ticked += (view.ticked.empty() ? "" : " ") + std::string(box.name);
    }
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowEnabled(child))
            view.enabled.insert(::GetDlgCtrlID(child));
    }
    HWND list = Item(dialog, IDC_CONFIGURE_AUTOSTART_LIST);
    int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        view.rows.push_back(ListText(list, row, 0) + "|" + ListText(list, row, 1) + "|"
                            + ListText(list, row, 2));
    HWND focus = ::GetFocus();
    view.focus = focus ? ::GetDlgCtrlID(focus) : 0;
    return view;
}

bool EditAndDeleteEnabled(HWND dialog)
{
    return ::IsWindowEnabled(Item(dialog, IDC_CONFIGURE_EDIT))
           && ::IsWindowEnabled(Item(dialog, IDC_CONFIGURE_DELETE));
}

void WaitForSelectionTimer(HWND dialog)
{
    PumpUntil(
        [&] {
            return !::IsWindowEnabled(Item(dialog, IDC_CONFIGURE_EDIT))
                   && !::IsWindowEnabled(Item(dialog, IDC_CONFIGURE_DELETE));
        },
        3000);
}

std::vector<std::string> SectionEntries(const std::string& file, const char* section)
{
    std::vector<char> buffer(32767, '\0');
    DWORD length =
        ::GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> entries;
    for (DWORD at = 0; at < length && buffer[at];) {
        std::string entry(&buffer[at]);
        entries.push_back(entry);
        at += static_cast<DWORD>(entry.size()) + 1;
    }
    return entries;
}

void ChooseFile(HWND openDialog, const std::string& path)
{
    // The file name box is a combo box (cmb13) in the Explorer-style dialog and an
    // edit control (edt1) in the older one.
    HWND name = ::GetDlgItem(openDialog, cmb13);
    if (!name || !::IsWindowVisible(name))
        name = ::GetDlgItem(openDialog, edt1);
    ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ::PostMessageA(::GetDlgItem(openDialog, IDOK), BM_CLICK, 0, 0);
}

}  // namespace gt
