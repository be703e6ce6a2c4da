#include "dialogs/configure_dlg.h"

#include "configure_profile.h"
#include "dialogs/edit_cmdline_dlg.h"
#include "framework/file_dialog.h"
#include "framework/win_app.h"
#include "gui/logic/list_entries.h"
#include "program_icons.h"
#include "framework/dpi.h"
#include "framework/data_exchange.h"
#include "globals.h"
#include "gui_strings.h"
#include "gui/logic/configure_values.h"
#include "profile/profile_keys.h"
#include "message_box.h"
#include "resource.h"
#include "window_position.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kWindowSection = gui::kConfigureWindowSection;
const UINT_PTR kSelectionTimer = 101;

// The controls that keep their distance to the client area's right edge (and, where
// said, its bottom edge) when the dialog is resized; all others stay put.
struct LayoutEntry {
    int id;
    unsigned anchors;
};

const LayoutEntry kLayout[16] = {
    {IDC_CONFIGURE_DESCRIPTION, gui_logic::kStretchRight},
    {IDC_CONFIGURE_APP_PATH, gui_logic::kStretchRight},
    {IDC_CONFIGURE_CMDLINE, gui_logic::kStretchRight},
    {IDC_CONFIGURE_NONRESPONSE, gui_logic::kStretchRight},
    {IDC_CONFIGURE_APP_GROUP, gui_logic::kStretchRight},
    {IDC_CONFIGURE_MISC_GROUP, gui_logic::kStretchRight},
    {IDC_CONFIGURE_AUTOSTART_LIST, gui_logic::kStretchRightBottom},
    {IDC_CONFIGURE_AUTOSTART_GROUP, gui_logic::kStretchRightBottom},
    {IDC_CONFIGURE_BROWSE, gui_logic::kMoveRight},
    {IDC_CONFIGURE_NOT_MAIN_APP, gui_logic::kMoveRight},
    {IDC_CONFIGURE_MAIN_APP_WAIT_LABEL, gui_logic::kMoveRight},
    {IDC_CONFIGURE_MAIN_APP_WAIT, gui_logic::kMoveRight},
    {IDC_CONFIGURE_ADD, gui_logic::kMoveRightDown},
    {IDC_CONFIGURE_EDIT, gui_logic::kMoveRightDown},
    {IDC_CONFIGURE_DELETE, gui_logic::kMoveRightDown},
    {IDC_CONFIGURE_SAVE, gui_logic::kMoveRightDown},
};

const ToolTipEntry kToolTips[] = {
    {IDC_CONFIGURE_DO_NOT_LAUNCH,
     "Set to not launch an application but pause\r\n\nUseful if you are constantly stopping and "
     "starting\nthe main "
     "application and don't want\nZephlaunch to restart services/programs"},
    {IDC_CONFIGURE_DESCRIPTION, "This field allows you to enter a description for this profile"},
    {IDC_CONFIGURE_APP_PATH, "Path to the application you wish to launch"},
    {IDC_CONFIGURE_BROWSE, "Click this button to browse for the application you wish to launch"},
    {IDC_CONFIGURE_CMDLINE, "Enter any command line parameters the application may require here"},
    {IDC_CONFIGURE_PRIORITY, "Sets the priority at which the application will run"},
    {IDC_CONFIGURE_NOT_MAIN_APP,
     "Set to indicate that the application is not the 'real' application,\nbut a 'shell' application that "
     "will "
     "launch the real application."},
    {IDC_CONFIGURE_MAIN_APP_WAIT,
     "How long (in seconds) the run looks for the real application to start\nafter the delay; 0 looks "
     "once.\n\nThe run then waits until every copy of it has ended."},
    {IDC_CONFIGURE_AUTOSTART_DELAY,
     "Sets the amount of time (in seconds) after the application is launched before launching other "
     "programs"},
    {IDC_CONFIGURE_SAVE, "Save changes"},
    {IDC_CONFIGURE_POWER_PLAN,
     "Set to switch Windows to its High performance power plan while the application runs\n\n"
     "The plan of before is put back afterwards, unless you chose another one meanwhile"},
    {IDC_CONFIGURE_KEEP_AWAKE,
     "Set to keep the computer from sleeping, the display on and the screen saver off\n"
     "while the application runs (joystick and wheel input does not count as activity)"},
    {IDC_CONFIGURE_PAUSE,
     "Set to prevent Zephlaunch Control program from terminating until you press a key\n\nUseful to allow "
     "you to "
     "examine the log if you are not logging to a file"},
    {IDC_CONFIGURE_LOGGING,
     "Set to indicate that Zephlaunch Control program should write all output to a log file\n\nLog file will "
     "written to zephrun_log.txt"},
    {IDC_CONFIGURE_NONRESPONSE,
     "Set to indicate the number of seconds Zephlaunch Control program\nwill wait before terminating a "
     "program.\n\nZephlaunch Control will send programs a 'Quit' message first.\nIf the program does not "
     "terminate,\nmore drastic measures are taken.\n\nThis setting determines how long to wait "
     "before\ntaking "
     "drastic measures."},
    {IDC_CONFIGURE_IDLE_TASKS,
     "Available only on Windows XP\nUsed as part of benchmarking for tasks that would be run when\nthe "
     "system is "
     "deemed 'idle'.\n\nIt can take 10 to 15 minutes for idle tasks to complete.\nTask Manager will report "
     "processes running,\nand the disk will likely be active during this time.\n\nFor more information, "
     "visit the "
     "following web link:\nhttp://www.microsoft.com/whdc/system/sysperf/benchmark.mspx"},
    {IDC_CONFIGURE_DEFRAG,
     "Set to defragment memory after services and programs and shutdown and before the main application is "
     "started"},
    {IDC_CONFIGURE_ADD, "Add a program to be started after the main application has started"},
    {IDC_CONFIGURE_DELETE, "Remove a program from the list of automatically started programs"},
    {IDC_CONFIGURE_EDIT, "Edit the selected program in the list of automatically started programs"},
    {IDC_CONFIGURE_SHUTDOWN, "Set to shutdown the computer after Zephlaunch Control has finished"},
    {IDC_CONFIGURE_RESTART, "Set to restart the computer after Zephlaunch Control has finished"},
};

// The controls that "Do not launch any app, just pause" switches off, in this order.
const int kLaunchControls[6] = {IDC_CONFIGURE_APP_PATH,     IDC_CONFIGURE_BROWSE,
                                IDC_CONFIGURE_CMDLINE,      IDC_CONFIGURE_PRIORITY,
                                IDC_CONFIGURE_NOT_MAIN_APP, IDC_CONFIGURE_AUTOSTART_DELAY};

}  // namespace

CConfigureDlg::CConfigureDlg(HWND parent) : CDialog(IDD_CONFIGURE, parent) {}

CConfigureDlg::~CConfigureDlg() = default;

void CConfigureDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_CONFIGURE_AUTOSTART_LIST, m_autoStartList);
    DDX_Text(dx, IDC_CONFIGURE_APP_PATH, m_appPath);
    DDV_MaxChars(dx, m_appPath, gui_logic::kMaxFieldChars);
    DDX_Text(dx, IDC_CONFIGURE_NONRESPONSE, m_nonResponseSeconds);
    DDV_MinMaxUInt(dx, m_nonResponseSeconds, gui_logic::kMinNonResponseSeconds,
                   gui_logic::kMaxNonResponseSeconds);
    DDX_Text(dx, IDC_CONFIGURE_CMDLINE, m_commandLine);
    DDV_MaxChars(dx, m_commandLine, gui_logic::kMaxFieldChars);
    DDX_CBString(dx, IDC_CONFIGURE_PRIORITY, m_priority);
    DDX_Check(dx, IDC_CONFIGURE_DEFRAG, m_defragMemory);
    DDX_Check(dx, IDC_CONFIGURE_IDLE_TASKS, m_idleTasks);
    DDX_Text(dx, IDC_CONFIGURE_AUTOSTART_DELAY, m_autoStartDelay);
    DDV_MinMaxUInt(dx, m_autoStartDelay, gui_logic::kMinDelaySeconds, gui_logic::kMaxDelaySeconds);
    DDX_Check(dx, IDC_CONFIGURE_PAUSE, m_pauseAtEnd);
    DDX_Text(dx, IDC_CONFIGURE_DESCRIPTION, m_description);
    DDV_MaxChars(dx, m_description, gui_logic::kMaxFieldChars);
    DDX_Check(dx, IDC_CONFIGURE_NOT_MAIN_APP, m_notMainApp);
    DDX_Text(dx, IDC_CONFIGURE_MAIN_APP_WAIT, m_mainAppWait);
    DDV_MinMaxUInt(dx, m_mainAppWait, 0, gui_logic::kMaxMainAppWaitSeconds);
    DDX_Check(dx, IDC_CONFIGURE_LOGGING, m_logging);
    DDX_Check(dx, IDC_CONFIGURE_DO_NOT_LAUNCH, m_doNotLaunch);
    DDX_Check(dx, IDC_CONFIGURE_POWER_PLAN, m_powerPlan);
    DDX_Check(dx, IDC_CONFIGURE_KEEP_AWAKE, m_keepAwake);
    DDX_Control(dx, IDC_CONFIGURE_POWER_PLAN, m_powerPlanButton);
    DDX_Control(dx, IDC_CONFIGURE_KEEP_AWAKE, m_keepAwakeButton);
    DDX_Control(dx, IDC_CONFIGURE_DO_NOT_LAUNCH, m_doNotLaunchButton);
    DDX_Control(dx, IDC_CONFIGURE_BROWSE, m_browseButton);
    DDX_Control(dx, IDC_CONFIGURE_NOT_MAIN_APP, m_notMainAppButton);
    DDX_Control(dx, IDC_CONFIGURE_SAVE, m_saveButton);
    DDX_Control(dx, IDC_CONFIGURE_IDLE_TASKS, m_idleTasksButton);
    DDX_Control(dx, IDC_CONFIGURE_DEFRAG, m_defragButton);
    DDX_Control(dx, IDC_CONFIGURE_LOGGING, m_loggingButton);
    DDX_Control(dx, IDC_CONFIGURE_PAUSE, m_pauseButton);
    DDX_Control(dx, IDC_CONFIGURE_ADD, m_addButton);
    DDX_Control(dx, IDC_CONFIGURE_DELETE, m_deleteButton);
    DDX_Control(dx, IDC_CONFIGURE_EDIT, m_editButton);
    DDX_Control(dx, IDC_CONFIGURE_SHUTDOWN, m_shutdownButton);
    DDX_Control(dx, IDC_CONFIGURE_RESTART, m_restartButton);
}

BOOL CConfigureDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RecordLayout();
    SetUpButtons();
    m_autoStartList.InsertColumn(0, "Program", LVCFMT_LEFT, ScaledPixels(175));
    m_autoStartList.InsertColumn(1, "Command Line", LVCFMT_LEFT, ScaledPixels(100));
    m_autoStartList.InsertColumn(2, "Delay", LVCFMT_LEFT, ScaledPixels(50));
    SetUpToolTips("Configure", kToolTips);
    ConfigureProfile p = ReadConfigureProfile(g_currentProfile.c_str(), false);
    LoadProfile(p);
    CheckVersion();
    SetUpAutoStartList(p.rows);
    RestoreWindowRect(m_hWnd, kWindowSection);
    UpdateData(false);
    EnableMainAppWait();
    m_loadedState = ShownState();
    SetTimer(kSelectionTimer, 100);
    return TRUE;
}

void CConfigureDlg::RecordLayout()
{
    for (const LayoutEntry& entry : kLayout)
        m_layout.Add(m_hWnd, entry.id, entry.anchors);
    m_layout.Apply(m_hWnd);
}

bool CConfigureDlg::OnSize(UINT, int, int) { return m_layout.Apply(m_hWnd); }

void CConfigureDlg::SetUpButtons()
{
    CIconButton* all[15] = {&m_powerPlanButton,  &m_keepAwakeButton, &m_doNotLaunchButton, &m_browseButton,
                            &m_notMainAppButton, &m_saveButton,      &m_idleTasksButton,   &m_defragButton,
                            &m_loggingButton,    &m_pauseButton,     &m_addButton,         &m_deleteButton,
                            &m_editButton,       &m_shutdownButton,  &m_restartButton};
    for (CIconButton* button : all)
        button->SetFlat(true, true);
    m_browseButton.SetIcon(IDI_BROWSE, CIconButton::kDarkened);
    m_saveButton.SetIcon(IDI_SAVE, CIconButton::kDarkened);
    m_addButton.SetIcon(IDI_ADD, 16, 16, CIconButton::kDarkened);
    m_editButton.SetIcon(IDI_EDIT, CIconButton::kDarkened);
    m_deleteButton.SetIcon(IDI_DELETE, 16, 16, CIconButton::kDarkened);
}

void CConfigureDlg::LoadProfile(const ConfigureProfile& p)
{
    m_description = p.description;
    m_appPath = p.appPath;
    m_commandLine = p.commandLine;
    m_priority = p.priority;
    m_defragMemory = p.defragMemory;
    m_nonResponseSeconds = p.nonResponseSeconds;
    m_autoStartDelay = p.autoStartDelay;
    m_pauseAtEnd = p.pauseAtEnd;
    m_mainAppWait = p.mainAppWait;
    if (!p.mainAppExe.empty()) {
        m_notMainApp = 1;
        m_mainAppExe = p.mainAppExe;
    }
    m_logging = p.logging;
    m_doNotLaunch = p.doNotLaunch;
    m_powerPlan = p.powerPlan;
    m_keepAwake = p.keepAwake;

    if (m_doNotLaunch != 0)
        EnableLaunchControls(false);
    if (p.shutdown == 1) {
        m_shutdownButton.SetCheck(1);
        m_restartButton.EnableWindow(false);
    }
    if (p.restart == 1) {
        m_restartButton.SetCheck(1);
        m_shutdownButton.EnableWindow(false);
    }
}

void CConfigureDlg::EnableLaunchControls(bool enable)
{
    for (int id : kLaunchControls)
        ::EnableWindow(GetDlgItem(id), enable ? TRUE : FALSE);
}

void CConfigureDlg::EnableMainAppWait()
{
    const BOOL enable = Ticked(IDC_CONFIGURE_NOT_MAIN_APP) && !Ticked(IDC_CONFIGURE_DO_NOT_LAUNCH);
    ::EnableWindow(GetDlgItem(IDC_CONFIGURE_MAIN_APP_WAIT), enable);
    ::EnableWindow(GetDlgItem(IDC_CONFIGURE_MAIN_APP_WAIT_LABEL), enable);
}

void CConfigureDlg::CheckVersion()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version))
        return;
    if (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1) {
        m_idleTasksButton.EnableWindow(true);
        m_idleTasks = static_cast<int>(::GetPrivateProfileIntA(
            profile::kConfiguration, profile::kProcIdleTasks, 0, g_currentProfile.c_str()));
        m_xp = true;
    }
    if (version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        m_shutdownButton.EnableWindow(false);
        m_restartButton.EnableWindow(false);
    }
}

bool CConfigureDlg::Ticked(int id) const { return ::SendMessageA(GetDlgItem(id), BM_GETCHECK, 0, 0) == 1; }

bool CConfigureDlg::OnCommand(UINT code, UINT id, HWND control)
{
    if (code != BN_CLICKED)
        return CDialog::OnCommand(code, id, control);
    switch (id) {
    case IDC_CONFIGURE_BROWSE:
        OnBrowse();
        return true;
    case IDC_CONFIGURE_SAVE:
        OnSave();
        return true;
    case IDC_CONFIGURE_ADD:
        OnAdd();
        return true;
    case IDC_CONFIGURE_DELETE:
        OnDelete();
        return true;
    case IDC_CONFIGURE_EDIT:
        OnEdit();
        return true;
    case IDC_CONFIGURE_NOT_MAIN_APP:
        OnNotMainApp();
        EnableMainAppWait();
        return true;
    case IDC_CONFIGURE_DO_NOT_LAUNCH:
        OnDoNotLaunch();
        EnableMainAppWait();
        return true;
    case IDC_CONFIGURE_SHUTDOWN:
        OnShutdownOrRestart(IDC_CONFIGURE_SHUTDOWN, IDC_CONFIGURE_RESTART);
        return true;
    case IDC_CONFIGURE_RESTART:
        OnShutdownOrRestart(IDC_CONFIGURE_RESTART, IDC_CONFIGURE_SHUTDOWN);
        return true;
    default:
        return CDialog::OnCommand(code, id, control);
    }
}

void CConfigureDlg::OnDoNotLaunch() { EnableLaunchControls(!Ticked(IDC_CONFIGURE_DO_NOT_LAUNCH)); }

void CConfigureDlg::OnShutdownOrRestart(int clicked, int other)
{
    ::EnableWindow(GetDlgItem(other), Ticked(clicked) ? FALSE : TRUE);
}

void CConfigureDlg::OnBrowse()
{
    std::string path;
    if (!ChooseExecutable(m_xp, &path) || !PathFitsProfile(path, false))
        return;
    // Only the path changes; whatever else was edited stays as it is.
    m_appPath = path;
    SetDlgItemText(IDC_CONFIGURE_APP_PATH, path.c_str());
}

void CConfigureDlg::OnNotMainApp()
{
    if (!Ticked(IDC_CONFIGURE_NOT_MAIN_APP)) {
        m_mainAppExe.clear();
        return;
    }
    int answer = ShowMessageBox(
        m_hWnd,
        "You have selected to tell Zephlaunch that the main application is \r\nnot the one that "
        "has been configured.\r\n\nNormally, this is done when the application that "
        "Zephlaunch\r\nwill launch will spawn off the main application.\r\n\nPress OK, then "
        "browse to the main application's exe file.",
        MB_OKCANCEL | MB_ICONINFORMATION);
    std::string path;
    if (answer == IDOK && ChooseExecutable(true, &path)) {
        m_mainAppExe = gui_logic::ExeNameOfPath(path);
        return;
    }
    m_notMainAppButton.SetCheck(0);
}

bool CConfigureDlg::OnTimer(UINT_PTR id)
{
    if (id == kSelectionTimer) {
        bool selected = m_autoStartList.GetNextItem(-1, LVNI_SELECTED) != -1;
        m_editButton.EnableWindow(selected);
        m_deleteButton.EnableWindow(selected);
    }
    return false;
}

std::vector<std::string> CConfigureDlg::ShownState() const
{
    std::vector<std::string> state;
    for (int id :
         {IDC_CONFIGURE_DESCRIPTION, IDC_CONFIGURE_APP_PATH, IDC_CONFIGURE_CMDLINE, IDC_CONFIGURE_PRIORITY,
          IDC_CONFIGURE_AUTOSTART_DELAY, IDC_CONFIGURE_NONRESPONSE, IDC_CONFIGURE_MAIN_APP_WAIT})
        state.push_back(GetDlgItemText(id));
    for (int id : {IDC_CONFIGURE_IDLE_TASKS, IDC_CONFIGURE_DEFRAG, IDC_CONFIGURE_LOGGING, IDC_CONFIGURE_PAUSE,
                   IDC_CONFIGURE_DO_NOT_LAUNCH, IDC_CONFIGURE_SHUTDOWN, IDC_CONFIGURE_RESTART,
                   IDC_CONFIGURE_POWER_PLAN, IDC_CONFIGURE_KEEP_AWAKE, IDC_CONFIGURE_NOT_MAIN_APP})
        state.push_back(Ticked(id) ? "1" : "0");
    state.push_back(m_mainAppExe);
    for (int row = 0; row < m_autoStartList.GetItemCount(); ++row)
        for (int column = 0; column < 3; ++column)
            state.push_back(m_autoStartList.GetItemText(row, column));
    return state;
}

void CConfigureDlg::CloseAsking(INT_PTR result, bool keepRect)
{
    if (ShownState() != m_loadedState) {
        int answer = ShowMessageBox(m_hWnd, gui::kUnsavedChangesQuestion, MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES) {
            OnSave();  // ends the dialog, or says why not and stays open
            return;
        }
    }
    if (keepRect)
        SaveWindowRect(m_hWnd, kWindowSection);
    EndDialog(result);
}

bool CConfigureDlg::OnClose()
{
    CloseAsking(IDCANCEL, true);
    return true;
}

void CConfigureDlg::OnOK() { CloseAsking(IDOK, false); }

void CConfigureDlg::OnCancel() { CloseAsking(IDCANCEL, false); }

void CConfigureDlg::OnDestroy() { KillTimer(kSelectionTimer); }

void CConfigureDlg::OnSave()
{
    if (!UpdateData(true))
        return;

    gui_logic::ConfigureSettings settings;
    settings.description = m_description;
    settings.appPath = m_appPath;
    settings.commandLine = m_commandLine;
    settings.priority = m_priority;
    settings.defragMemory = m_defragMemory;
    settings.idleTasks = m_idleTasks;
    settings.nonResponseSeconds = m_nonResponseSeconds;
    settings.autoStartDelay = m_autoStartDelay;
    int rows = m_autoStartList.GetItemCount();
    for (int row = 0; row < rows; ++row) {
        settings.rows.push_back({m_autoStartList.GetItemText(row, 0), m_autoStartList.GetItemText(row, 1),
                                 m_autoStartList.GetItemText(row, 2)});
    }
    settings.pauseAtEnd = m_pauseAtEnd;
    settings.notMainApp = m_notMainApp == 1;
    settings.mainAppExe = m_mainAppExe;
    settings.mainAppWait = m_mainAppWait;
    settings.logging = m_logging;
    settings.doNotLaunch = m_doNotLaunch;
    settings.powerPlan = m_powerPlan;
    settings.keepAwake = m_keepAwake;
    settings.shutdown = Ticked(IDC_CONFIGURE_SHUTDOWN);
    settings.restart = Ticked(IDC_CONFIGURE_RESTART);

    // Read now, so that what the file holds at Save is kept, not what it held at opening.
    settings.otherEntries = ReadConfigurationEntries(g_currentProfile.c_str());

    DWORD error = 0;
    if (!ApplyProfileWrites(g_currentProfile.c_str(), gui_logic::SaveWrites(settings), &error)) {
        // The dialog stays open with every change, so the user can try again.
        char code[32];
        std::snprintf(code, sizeof code, "%d", static_cast<int>(error));
        std::string text = "Unable to save the configuration changes to:\r\n\n" + g_currentProfile
                           + "\r\n\n(error code " + code + ")";
        ShowMessageBox(m_hWnd, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ShowMessageBox(m_hWnd, "Configuration changes have been saved.", MB_OK | MB_ICONINFORMATION);
    SaveWindowRect(m_hWnd, kWindowSection);
    EndDialog(0);
}

// The auto-start list: loading it with the programs' icons, Add, Edit and Delete, and the
// Open dialog that picks a program.
void CConfigureDlg::SetUpAutoStartList(const std::vector<gui_logic::AutoStartRow>& rows)
{
    const int iconSize = ScaledPixels(16);
    if (m_programIcons.Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_programIcons.SetBkColor(RGB(255, 255, 255));
        HICON cross = static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_DELETE),
                                                      IMAGE_ICON, iconSize, iconSize, LR_DEFAULTCOLOR));
        if (cross) {
            m_programIcons.Add(cross);
            ::DestroyIcon(cross);
        }
        m_autoStartList.SetImageList(m_programIcons, LVSIL_SMALL);
    }

    m_autoStartList.SendMessage(WM_SETREDRAW, FALSE);
    for (const gui_logic::AutoStartRow& row : rows) {
        int index = m_autoStartList.InsertItem(m_autoStartList.GetItemCount(), row.program.c_str(), 0);
        if (index < 0)
            continue;
        m_autoStartList.SetItemText(index, 1, row.commandLine.c_str());
        m_autoStartList.SetItemText(index, 2, row.delay.c_str());
    }
    // Image 0 is the cross; rows whose program yields no icon keep it.
    std::vector<std::string> programs;
    for (int row = 0; row < m_autoStartList.GetItemCount(); ++row)
        programs.push_back(m_autoStartList.GetItemText(row, 0));
    const std::vector<int> images = AddProgramIcons(m_programIcons.GetSafeHandle(), programs);
    for (size_t row = 0; row < images.size(); ++row) {
        if (images[row] > 0)
            m_autoStartList.SetItemImage(static_cast<int>(row), images[row]);
    }
    m_autoStartList.SendMessage(WM_SETREDRAW, TRUE);
    m_autoStartList.Invalidate(true);
}

bool CConfigureDlg::ChooseExecutable(bool newStructSize, std::string* path)
{
    CFileDialog dialog(true, "exe", nullptr,
                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING,
                       "Executables|*.exe|All Files|*.*||", m_hWnd,
                       newStructSize ? kOpenFileNameSizeFull : kOpenFileNameSizeOld);
    if (dialog.DoModal() != IDOK)
        return false;
    *path = dialog.GetPathName();
    return true;
}

bool CConfigureDlg::PathFitsProfile(const std::string& path, bool asKey) const
{
    std::string text;
    if (path.size() > static_cast<size_t>(gui_logic::kMaxFieldChars))
        text = "This path is longer than 255 characters, more than a profile can hold:\r\n\n" + path
               + "\r\n\nPlease choose a program with a shorter path.";
    else if (asKey && !gui_logic::IsReadableKey(path))
        text =
            "The path of an auto-start program cannot hold \"=\": the profile could not read it back.\r\n\n"
            + path;
    if (text.empty())
        return true;
    ShowMessageBox(m_hWnd, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CConfigureDlg::OnAdd()
{
    std::string path;
    if (!ChooseExecutable(m_xp, &path) || !PathFitsProfile(path, true))
        return;
    int row = m_autoStartList.InsertItem(m_autoStartList.GetItemCount() + 1, path.c_str(), 0);
    if (row < 0)
        return;
    m_autoStartList.SetItemText(row, 1, "");
    m_autoStartList.SetItemText(row, 2, "");
    const int image = AddProgramIcons(m_programIcons.GetSafeHandle(), {path})[0];
    if (image > 0)
        m_autoStartList.SetItemImage(row, image);
    m_autoStartList.SetSelectionMark(row);
    OnEdit();
}

void CConfigureDlg::OnEdit()
{
    int row = m_autoStartList.GetSelectionMark();
    if (row < 0 || row >= m_autoStartList.GetItemCount())
        return;
    CEditCmdLineDlg dialog(m_hWnd);
    dialog.m_commandLine = m_autoStartList.GetItemText(row, 1);
    dialog.m_delay = gui_logic::DelayOfText(m_autoStartList.GetItemText(row, 2));
    if (dialog.DoModal() != IDOK)
        return;
    m_autoStartList.SetItemText(row, 1, dialog.m_commandLine.c_str());
    m_autoStartList.SetItemText(row, 2, std::to_string(dialog.m_delay).c_str());
}

void CConfigureDlg::OnDelete()
{
    int row = m_autoStartList.GetSelectionMark();
    if (row < 0 || row >= m_autoStartList.GetItemCount())
        return;
    m_autoStartList.DeleteItem(row);
}
