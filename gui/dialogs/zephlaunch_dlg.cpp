#include "dialogs/zephlaunch_dlg.h"

#include "controller_launch.h"
#include "controller_runs.h"
#include "dialogs/about_dlg.h"
#include "dialogs/configure_dlg.h"
#include "framework/dpi.h"
#include "framework/data_exchange.h"
#include "framework/file_dialog.h"
#include "framework/shell_execute.h"
#include "framework/win_app.h"
#include "globals.h"
#include "gui/logic/profile_title.h"
#include "gui/logic/web_links.h"
#include "gui_strings.h"
#include "message_box.h"
#include "dialogs/new_profile_dlg.h"
#include "profile/profile_keys.h"
#include "profile_files.h"
#include "dialogs/program_options_dlg.h"
#include "dialogs/programs_dlg.h"
#include "resource.h"
#include "dialogs/services_dlg.h"
#include "settings_setup.h"
#include "web_addresses.h"
#include "window_position.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace {

using gui::kMainWindowSection;

const ToolTipEntry kToolTips[] = {
    {IDC_SERVICES, "Configure which services to automatically stop or restart in the selected profile"},
    {IDC_PROGRAMS, "Configure which programs to automatically stop or restart in the selected profile"},
    {IDC_CONFIGURE, "Configure other aspects in the selected profile"},
    {IDC_START, "Start Zephlaunch with the selected profile"},
};

}  // namespace

CZephlaunchDlg::CZephlaunchDlg() : CDialog(IDD_ZEPHLAUNCH_DIALOG)
{
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_ZEPHLAUNCH));
}

CZephlaunchDlg::~CZephlaunchDlg() = default;

void CZephlaunchDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROFILE_LIST, m_profileList);
    DDX_Control(dx, IDC_SERVICES, m_servicesButton);
    DDX_Control(dx, IDC_PROGRAMS, m_programsButton);
    DDX_Control(dx, IDC_CONFIGURE, m_configureButton);
    DDX_Control(dx, IDC_START, m_startButton);
}

BOOL CZephlaunchDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    m_layout.Add(m_hWnd, m_profileList, gui_logic::kStretchRightBottom);
    RECT client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);

    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    SetUpMenuBar();
    SetUpButtons();

    m_profileList.SetExtendedStyle(m_profileList.GetExtendedStyle() | LVS_EX_INFOTIP);
    if (m_imageList.Create(ScaledPixels(32), ScaledPixels(32), ILC_COLOR8 | ILC_MASK, 1, 1))
        m_profileList.SetImageList(m_imageList, LVSIL_NORMAL);

    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (::GetVersionExA(&version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
        m_servicesButton.EnableWindow(false);
        m_menu.EnableMenuItem(ID_TOOLS_SERVICE_MANAGER, MF_BYCOMMAND | MF_GRAYED);
    }

    if (!SetUpSettingsFolders(m_hWnd)) {
        EndDialog(0);
        return FALSE;
    }
    DWORD folderLength = ::GetCurrentDirectoryA(MAX_PATH, m_startupFolder);
    if (folderLength == 0 || folderLength >= MAX_PATH)
        m_startupFolder[0] = '\0';
    MigrateFromWindowsFolder(m_hWnd);
    CopyShippedServiceHelpFile();
    EnsureDefaultProfile();
    SetTitleFromCurrentProfile();
    g_showToolTips = ReadShowToolTips();
    RestoreWindowRect(m_hWnd, kMainWindowSection);

    m_profileList.InsertColumn(0, "Profiles", LVCFMT_LEFT, ScaledPixels(75));
    m_profileList.InsertColumn(1, "Description", LVCFMT_LEFT, ScaledPixels(200));
    FillProfileList();

    // Without the tool-tip control the window works as before, only without tips (and
    // the Program Options switch has nothing to switch): say so once.
    if (!SetUpToolTips(nullptr, kToolTips))
        ShowMessageBox(m_hWnd, "The tool tips could not be created; Zephlaunch runs without them.",
                       MB_OK | MB_ICONINFORMATION);
    OfferRestoreOfUnfinishedRun(m_hWnd);
    // The profile list is first in the tab order and starts with the focus.
    return TRUE;
}

void CZephlaunchDlg::SetUpMenuBar()
{
    if (!m_menu.LoadMenu(IDR_MAIN_MENU))
        return;
    const UINT items[7][2] = {{ID_APP_EXIT, IDB_EXIT},
                              {ID_FILE_NEW, IDB_NEW},
                              {ID_FILE_DELETE, IDB_DELETE},
                              {ID_FILE_CREATE_SHORTCUT, IDB_CREATE_SHORTCUT},
                              {ID_APP_ABOUT, IDB_ABOUT},
                              {ID_TOOLS_PROGRAM_OPTIONS, IDB_PROGRAM_OPTIONS},
                              {ID_TOOLS_SERVICE_MANAGER, IDB_SERVICE_MANAGER}};
    for (const auto& item : items)
        m_menu.SetItemBitmap(item[0], item[1]);
    // The menu bar takes its height out of the client area: the window grows by that
    // much, so that the whole template still fits below the bar.
    RECT before;
    RECT after;
    RECT window;
    if (!GetClientRect(&before) || !SetMenu(m_menu) || !GetClientRect(&after) || !GetWindowRect(&window))
        return;
    const int shortfall = before.bottom - after.bottom;
    if (shortfall > 0)
        SetWindowPos(nullptr, 0, 0, window.right - window.left, window.bottom - window.top + shortfall,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RecordLeastSize();
}

void CZephlaunchDlg::SetUpButtons()
{
    CIconButton* buttons[4] = {&m_servicesButton, &m_programsButton, &m_configureButton, &m_startButton};
    const UINT icons[4] = {IDI_SERVICES, IDI_PROGRAMS, IDI_CONFIGURE, IDI_START};
    for (int i = 0; i < 4; ++i) {
        buttons[i]->SetIcon(icons[i], CIconButton::kDarkened);
        buttons[i]->SetFlat(true, true);
    }
}

std::string CZephlaunchDlg::ProfilePathOfItem(int index) const
{
    return std::string(g_profilesFolder) + "\\" + m_profileList.GetItemText(index, 0) + ".ini";
}

void CZephlaunchDlg::SetTitleFromCurrentProfile()
{
    SetWindowText(gui_logic::MainWindowTitle(g_currentProfile).c_str());
}

void CZephlaunchDlg::TakeCurrentProfileFromItem(int index)
{
    g_currentProfile = ProfilePathOfItem(index);
    SetTitleFromCurrentProfile();
}

void CZephlaunchDlg::FillProfileList()
{
    m_profileList.DeleteAllItems();

    // The new list is in place before the old one goes.
    HIMAGELIST previous = m_imageList.Detach();
    if (m_imageList.Create(ScaledPixels(32), ScaledPixels(32), ILC_COLOR32 | ILC_MASK, 1, 1)) {
        m_imageList.SetBkColor(RGB(255, 255, 255));
        m_imageList.Add(m_hIcon);
        m_profileList.SetImageList(m_imageList, LVSIL_NORMAL);
    } else {
        m_profileList.SetImageList(nullptr, LVSIL_NORMAL);  // never a destroyed list in the view
    }
    if (previous)
        ImageList_Destroy(previous);

    // Many profiles start the same program: its icon is read from the file and put
    // into the image list once, and every profile of that program shows that image.
    std::map<std::string, int> imageOfFile;
    m_profileList.SendMessage(WM_SETREDRAW, FALSE);
    for (const ProfileFile& file : ListProfileFiles(g_profilesFolder)) {
        std::string description = ReadProfileValue(file.path.c_str(), profile::kDescription);
        std::string application = ReadProfileValue(file.path.c_str(), profile::kFsPath);
        int image = 0;
        if (!application.empty()) {
            auto known = imageOfFile.find(application);
            if (known == imageOfFile.end()) {
                int added = -1;
                HICON icon = ::ExtractIconA(AfxGetResourceHandle(), application.c_str(), 0);
                // ExtractIcon gives 1 for a file that holds no icons at all.
                if (reinterpret_cast<UINT_PTR>(icon) > 1) {
                    added = m_imageList.Add(icon);
                    ::DestroyIcon(icon);
                }
                known = imageOfFile.emplace(application, added).first;
            }
            if (known->second > 0)
                image = known->second;
        }
        int index = m_profileList.InsertItem(m_profileList.GetItemCount() + 1, file.name.c_str(), image);
        if (index < 0)
            continue;
        m_profileList.SetItemText(index, 1, description.c_str());
        if (SameFileName(file.path, g_currentProfile))
            m_profileList.SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
    }
    m_profileList.SendMessage(WM_SETREDRAW, TRUE);
    m_profileList.Invalidate(true);
}

bool CZephlaunchDlg::OnCommand(UINT code, UINT id, HWND control)
{
    switch (id) {
    case ID_FILE_NEW:
        NewProfile();
        return true;
    case ID_FILE_DELETE:
        DeleteProfile();
        return true;
    case ID_APP_EXIT:
        SendMessage(WM_CLOSE);
        return true;
    case ID_TOOLS_PROGRAM_OPTIONS:
        RunProgramOptions();
        return true;
    case IDC_CONFIGURE: {
        if (code != BN_CLICKED)
            return false;
        CConfigureDlg dialog;
        dialog.DoModal();
        FillProfileList();
        return true;
    }
    case IDC_SERVICES:
        if (code == BN_CLICKED) {
            CServicesDlg dialog;
            dialog.DoModal();
            return true;
        }
        break;
    case IDC_PROGRAMS:
        if (code == BN_CLICKED) {
            CProgramsDlg dialog;
            dialog.DoModal();
            return true;
        }
        break;
    case IDC_START:
        if (code != BN_CLICKED)
            return false;
        StartRun();
        return true;
    case ID_FILE_CREATE_SHORTCUT:
        CreateShortcut();
        return true;
    case ID_FILE_PREVIEW_RUN:
        ShowRunPreview(m_hWnd, g_currentProfile);
        return true;
    case ID_TOOLS_SERVICE_MANAGER:
        OpenServiceManager();
        return true;
    case ID_DONATE:
        Donate();
        return true;
    case ID_APP_ABOUT: {
        CAboutDlg about;
        about.DoModal();
        return true;
    }
    default:
        break;
    }
    return CDialog::OnCommand(code, id, control);
}

void CZephlaunchDlg::RunProgramOptions()
{
    CProgramOptionsDlg dialog;
    dialog.m_optionsFile = g_windowPosFile;
    dialog.DoModal();
    ActivateToolTips(g_showToolTips != 0);
}

void CZephlaunchDlg::Donate()
{
    ShellExecuteRequest request;
    request.owner = m_hWnd;
    request.verb = "open";
    request.file = gui_logic::DonationLink(ZEPH_DONATION_FORM, ZEPH_DONATION_BUSINESS,
                                           ZEPH_DONATION_ITEM_NAME, ZEPH_DONATION_ITEM_NUMBER);
    RunShellExecute(request);  // the thanks come whatever the shell made of the page
    ShowMessageBox(m_hWnd,
                   "Thank you for donating!  I really appreciate your contribution!\n\n"
                   "A browser window should appear and connect to PayPal.\n"
                   "Enter the donation amount in the 'Amount' field.\n\n"
                   "Once again, Thanks! - Quillon",
                   MB_OK | MB_ICONINFORMATION, "THANK YOU!");
}

void CZephlaunchDlg::OpenServiceManager()
{
    const DWORD kChars = 1024;
    char console[kChars];
    char home[kChars];
    DWORD length = ::ExpandEnvironmentStringsA("%SystemRoot%\\system32\\services.msc", console, kChars);
    if (length == 0 || length > kChars)
        return;
    ShellExecuteRequest request;
    request.file = console;
    request.parameters = "/s";
    // Without a home folder (a variable left unexpanded) the console starts in the
    // current folder rather than not at all.
    length = ::ExpandEnvironmentStringsA("%HOMEDRIVE%%HOMEPATH%", home, kChars);
    if (length != 0 && length <= kChars && !std::strchr(home, '%'))
        request.directory = home;
    RunShellExecute(request);
}

void CZephlaunchDlg::NewProfile()
{
    CNewProfileDlg dialog;
    if (dialog.DoModal() != IDOK)
        return;

    char path[MAX_PATH];
    int written =
        std::snprintf(path, sizeof path, "%s\\%s.ini", g_profilesFolder, dialog.m_profileName.c_str());
    if (written < 0 || static_cast<size_t>(written) >= sizeof path)
        return;  // the dialog refuses names that do not fit

    if (FileIsReadable(path)
        && ShowMessageBox(m_hWnd, "There is already a profile with this name.  Do you want to overwrite it?",
                          MB_YESNO | MB_ICONQUESTION)
               == IDNO)
        return;

    const bool blank = dialog.m_profileKind == CNewProfileDlg::kBlankProfile;
    bool copyFailed = false;
    const DWORD error =
        MakeProfileFile(path, blank ? nullptr : g_currentProfile.c_str(), dialog.m_description, &copyFailed);
    if (error) {
        char text[128];
        std::snprintf(text, sizeof text, "Unable to create copy of current configuration file (error = %d).",
                      static_cast<int>(error));
        ShowMessageBox(
            m_hWnd, copyFailed ? text : FileErrorText("The profile could not be made:", path, error).c_str(),
            MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    g_currentProfile = path;
    SetTitleFromCurrentProfile();
    FillProfileList();
}

void CZephlaunchDlg::DeleteProfile()
{
    if (SameFileName(gui_logic::TitleOfProfilePath(g_currentProfile), "zephlaunch")) {
        ShowMessageBox(m_hWnd, "The default profile cannot be removed.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::string question = "Are you sure you want to remove profile:\r\n\n" + g_currentProfile;
    if (ShowMessageBox(m_hWnd, question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    if (!::DeleteFileA(g_currentProfile.c_str())) {
        const std::string text =
            FileErrorText("The profile could not be removed:", g_currentProfile, ::GetLastError());
        ShowMessageBox(m_hWnd, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    FillProfileList();
    if (m_profileList.GetItemCount() == 0) {
        SetWindowText(kAppCaption);
        return;
    }
    m_profileList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    TakeCurrentProfileFromItem(0);
}

void CZephlaunchDlg::ShowProfileContextMenu()
{
    DWORD position = ::GetMessagePos();
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    m_profileList.ScreenToClient(&point);
    int item = m_profileList.HitTest(point);
    if (item >= 0)
        TakeCurrentProfileFromItem(item);

    CIconMenu menu;
    if (!menu.LoadMenu(IDR_PROFILE_MENU))
        return;
    menu.SetItemBitmap(ID_FILE_NEW, IDB_NEW);
    menu.SetItemBitmap(ID_FILE_DELETE, IDB_DELETE);
    menu.SetItemBitmap(ID_FILE_CREATE_SHORTCUT, IDB_CREATE_SHORTCUT);
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    UINT command = menu.TrackSubMenu(0, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, m_hWnd);
    switch (command) {
    case ID_FILE_DELETE:
        DeleteProfile();
        break;
    case ID_FILE_NEW:
        NewProfile();
        break;
    case ID_FILE_CREATE_SHORTCUT:
        CreateShortcut();
        break;
    case ID_FILE_PREVIEW_RUN:
        ShowRunPreview(m_hWnd, g_currentProfile);
        break;
    default:
        break;
    }
}

void CZephlaunchDlg::FillInfoTip(int item, char* buffer, int bufferSize)
{
    if (!buffer || bufferSize <= 0)
        return;
    std::string name = m_profileList.GetItemText(item, 0);
    std::string path = std::string(g_profilesFolder) + "\\" + name + ".ini";
    std::string tip = gui_logic::ProfileInfoTip(name, ReadProfileValue(path.c_str(), profile::kDescription));
    lstrcpynA(buffer, tip.c_str(), bufferSize);
}

bool CZephlaunchDlg::OnNotify(UINT id, NMHDR* header, LRESULT* result)
{
    if (id != IDC_PROFILE_LIST)
        return false;
    switch (header->code) {
    case NM_CLICK: {
        int mark = m_profileList.GetSelectionMark();
        if (mark != -1)
            TakeCurrentProfileFromItem(mark);
        *result = 0;
        return true;
    }
    case NM_RCLICK:
        ShowProfileContextMenu();
        *result = 0;
        return true;
    case LVN_GETINFOTIPA: {
        auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(header);
        FillInfoTip(tip->iItem, tip->pszText, tip->cchTextMax);
        *result = 0;
        return true;
    }
    case LVN_GETINFOTIPW: {
        auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
        if (!tip->pszText || tip->cchTextMax <= 0)
            return true;
        std::string text(static_cast<size_t>(tip->cchTextMax), '\0');
        FillInfoTip(tip->iItem, &text[0], tip->cchTextMax);
        if (!::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, tip->pszText, tip->cchTextMax))
            tip->pszText[0] = L'\0';
        *result = 0;
        return true;
    }
    default:
        return false;
    }
}

bool CZephlaunchDlg::OnSize(UINT, int, int)
{
    if (!m_layout.Apply(m_hWnd))
        return false;
    m_profileList.Arrange(LVA_ALIGNLEFT);
    return true;
}

bool CZephlaunchDlg::OnClose()
{
    SaveWindowRect(m_hWnd, kMainWindowSection);
    return false;
}

bool CZephlaunchDlg::OnMeasureItem(UINT, MEASUREITEMSTRUCT* item)
{
    return item->CtlType == ODT_MENU && CIconMenu::HandleMeasureItem(item);
}

bool CZephlaunchDlg::OnDrawItem(UINT, DRAWITEMSTRUCT* item)
{
    return item->CtlType == ODT_MENU && CIconMenu::HandleDrawItem(item);
}

void CZephlaunchDlg::PaintMinimised()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (!dc)
        return;
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    GetClientRect(&client);
    int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

bool CZephlaunchDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    switch (msg) {
    case WM_INITMENUPOPUP: {
        HMENU popup = reinterpret_cast<HMENU>(wp);
        CIconMenu* menu = HIWORD(lp) ? nullptr : CIconMenu::FromHandle(popup);
        if (menu)
            menu->UpdatePopup(popup);
        return false;
    }
    case WM_MENUCHAR: {
        HMENU menuHandle = reinterpret_cast<HMENU>(lp);
        CIconMenu* menu = CIconMenu::FromHandle(menuHandle);
        if (!menu)
            return false;
        *result = menu->FindMenuChar(LOWORD(wp), HIWORD(wp), menuHandle);
        return true;
    }
    case WM_PAINT:
        if (!IsIconic())
            return false;
        PaintMinimised();
        return true;
    case WM_QUERYDRAGICON:
        *result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    default:
        return false;
    }
}

void CZephlaunchDlg::StartRun()
{
    if (ControllerPath().empty()) {
        ShowMessageBox(m_hWnd, gui::kOwnFolderUnknown, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    int answer = ShowMessageBox(m_hWnd, "Do you wish to close the Zephlaunch GUI before launching?",
                                MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return;

    ControllerStart start = StartController(m_hWnd, g_currentProfile);
    if (!start.started && start.elevatedVerb && start.error == ERROR_CANCELLED) {
        ShowMessageBox(m_hWnd, "The run was cancelled: it was not allowed to run with administrator rights.",
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!start.started) {
        std::string text = "Error launching Zephlaunch Batch control!\n\nPath = " + start.commandLine
                           + "\n\nFolder = " + start.folder;
        ShowMessageBox(m_hWnd, text.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (answer == IDYES) {
        if (start.process)
            ::CloseHandle(start.process);
        SaveWindowRect(m_hWnd, gui::kMainWindowSection);
        EndDialog(0);
        return;
    }
    // The GUI waits minimised until the run has ended, its windows answering meanwhile.
    ShowWindow(SW_MINIMIZE);
    if (start.process) {
        WaitForRunToEnd(m_hWnd, start.process);
        ::CloseHandle(start.process);
    }
    ShowWindow(SW_RESTORE);
}

void CZephlaunchDlg::CreateShortcut()
{
    if (ControllerPath().empty()) {
        ShowMessageBox(m_hWnd, gui::kOwnFolderUnknown, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::string folder;
    if (!BrowseForFolder(m_hWnd, "Select folder to place shortcut...", &folder))
        return;
    const ShortcutResult result = WriteProfileShortcut(folder, g_currentProfile);
    if (result == ShortcutResult::SaveFailed)
        ShowMessageBox(m_hWnd, "IPersistFile->Save() Error", MB_OK, "Error");
    else if (result == ShortcutResult::NoController)
        ShowMessageBox(m_hWnd, gui::kOwnFolderUnknown, MB_OK | MB_ICONEXCLAMATION);
}
