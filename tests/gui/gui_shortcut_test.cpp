// Create Shortcut driven through the real folder browser, with the links read back
// through the shell's own link object and their bytes; and the administrator-rights
// path of Start and Create Shortcut, observed through the shell-execute and link-flag
// seams (the elevation prompt cannot be shown here and the link flag is not stored).
#include "controller_launch.h"
#include "framework/com_ptr.h"
#include "framework/shell_execute.h"
#include "globals.h"
#include "gui_strings.h"
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

const char kMain[] = "Zephlaunch - zephlaunch";
const char kBrowser[] = "Browse for Folder";

struct LinkContents {
    std::string target, arguments, description, icon, workingFolder;
    int iconIndex = -1;
    bool hasIconLocation = false;  // bit 0x40 of the flags word at byte 20
};

LinkContents ReadLink(const std::string& path)
{
    LinkContents link;
    EXPECT_TRUE(EnsureComInitialised());
    CComPtr<IShellLinkA> shellLink;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  shellLink.OutVoid())))
        return link;
    CComPtr<IPersistFile> file;
    WCHAR wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (FAILED(shellLink.QueryInterface(IID_IPersistFile, file)) || FAILED(file->Load(wide, STGM_READ))) {
        ADD_FAILURE() << "cannot load " << path;
        return link;
    }
    char text[1024] = {};
    shellLink->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
    link.target = text;
    text[0] = '\0';
    shellLink->GetArguments(text, sizeof text);
    link.arguments = text;
    text[0] = '\0';
    shellLink->GetDescription(text, sizeof text);
    link.description = text;
    text[0] = '\0';
    shellLink->GetWorkingDirectory(text, sizeof text);
    link.workingFolder = text;
    text[0] = '\0';
    shellLink->GetIconLocation(text, sizeof text, &link.iconIndex);
    link.icon = text;
    std::string bytes = zt::ReadFileBytes(path);
    EXPECT_GT(bytes.size(), 24u);
    if (bytes.size() > 24)
        link.hasIconLocation = (static_cast<unsigned char>(bytes[20]) & 0x40) != 0;
    return link;
}

BOOL CALLBACK FindTree(HWND child, LPARAM parameter)
{
    char name[32] = {};
    ::GetClassNameA(child, name, sizeof name);
    if (lstrcmpiA(name, WC_TREEVIEWA) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(parameter) = child;
    return FALSE;
}

// Selects the folder in the browser as its owner's callback would (BFFM_SETSELECTIONA)
// and waits until the browser's tree shows it selected: a browser that has just opened
// may still be filling its tree.
bool SelectFolder(HWND browser, const std::string& folder)
{
    std::string leaf = folder.substr(folder.rfind('\\') + 1);
    return gt::PumpUntil(
        [&] {
            ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
            HWND tree = nullptr;
            ::EnumChildWindows(browser, &FindTree, reinterpret_cast<LPARAM>(&tree));
            HTREEITEM selected = tree ? TreeView_GetSelection(tree) : nullptr;
            if (!selected)
                return false;
            char text[MAX_PATH] = {};
            TVITEMA item = {};
            item.mask = TVIF_TEXT;
            item.hItem = selected;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            return ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))
                   && lstrcmpiA(text, leaf.c_str()) == 0;
        },
        5000);
}

class Shortcut : public gt::FreshSettingsTest {
protected:
    Shortcut() : FreshSettingsTest(true) {}
    void TearDown() override
    {
        SetElevationProbe(nullptr);
        SetLinkRunAsSetter(nullptr);
        SetShellExecuteHandler(nullptr);
        SetOwnFolderLookup(nullptr);
        FreshSettingsTest::TearDown();
    }

    // Makes profile the current one, then runs Create Shortcut through the browser.
    void AddShortcutSteps(gt::GuiDriver& driver, const std::string& profile, const std::string& folder,
                          const char* screenshot = nullptr)
    {
        driver.Step(kMain, [=](HWND window) {
            g_currentProfile = gt::ProfilePath(profile);
            gt::Command(window, ID_FILE_CREATE_SHORTCUT);
        });
        driver.Step(kBrowser, [=](HWND browser) {
            EXPECT_TRUE(SelectFolder(browser, folder));
            if (screenshot)
                gt::SaveWindowScreenshot(browser, screenshot);
            gt::Click(browser, IDOK);
        });
    }

    static void Run(gt::GuiDriver& driver)
    {
        driver.Step(kMain, [](HWND window) { gt::Command(window, IDCANCEL); });
        gt::RunMainWindowScript(driver, 40);
    }
};

TEST_F(Shortcut, LinksStartTheControllerWithTheQuotedProfileAndTheMainApplicationsIcon)
{
    zt::TempFolder folder;
    zt::WriteFileBytes(gt::ProfilePath("a.b"), gt::IniText("[Configuration]\nfspath=C:\\Games\\racer.exe\n"));
    zt::WriteFileBytes(gt::ProfilePath("plain"), gt::IniText("[Configuration]\ndescription=x\n"));
    zt::WriteFileBytes(gt::ProfilePath("blank"), gt::IniText("[Configuration]\nfspath=\n"));
    gt::GuiDriver driver;
    AddShortcutSteps(driver, "a.b", folder.Path(), "folder-browser");
    AddShortcutSteps(driver, "plain", folder.Path());
    AddShortcutSteps(driver, "blank", folder.Path());
    Run(driver);

    const std::string controller = zt::BinPath("zephrun.exe");
    LinkContents dotted = ReadLink(folder.File("Zephlaunch a.b.lnk"));
    EXPECT_EQ(lstrcmpiA(dotted.target.c_str(), controller.c_str()), 0) << dotted.target;
    EXPECT_EQ(lstrcmpiA(dotted.workingFolder.c_str(), zt::BinDir().c_str()), 0) << dotted.workingFolder;
    EXPECT_EQ(dotted.arguments, "\"" + gt::ProfilePath("a.b") + "\"");
    EXPECT_EQ(dotted.description, "Open this to start Zephlaunch with the a.b profile");
    EXPECT_EQ(dotted.icon, "C:\\Games\\racer.exe");
    EXPECT_EQ(dotted.iconIndex, 0);
    EXPECT_TRUE(dotted.hasIconLocation);

    LinkContents plain = ReadLink(folder.File("Zephlaunch plain.lnk"));
    EXPECT_EQ(plain.description, "Open this to start Zephlaunch with the plain profile");
    EXPECT_FALSE(plain.hasIconLocation) << "no fspath: no icon of its own";
    LinkContents blank = ReadLink(folder.File("Zephlaunch blank.lnk"));
    EXPECT_TRUE(blank.hasIconLocation) << "an empty fspath is set as the icon location";
    EXPECT_EQ(blank.icon, "");
}

TEST_F(Shortcut, TheSameShortcutTwiceReplacesTheFirstAndCancelWritesNothing)
{
    zt::TempFolder folder;
    zt::WriteFileBytes(gt::ProfilePath("twice"), gt::IniText("[Configuration]\nfspath=C:\\first.exe\n"));
    gt::GuiDriver driver;
    AddShortcutSteps(driver, "twice", folder.Path());
    driver.Step(kMain, [&](HWND window) {
        ::WritePrivateProfileStringA("Configuration", "fspath", "C:\\second.exe",
                                     gt::ProfilePath("twice").c_str());
        gt::Command(window, ID_FILE_CREATE_SHORTCUT);
    });
    driver.Step(kBrowser, [&](HWND browser) {
        EXPECT_TRUE(SelectFolder(browser, folder.Path()));
        gt::Click(browser, IDOK);
    });
    // A cancelled browser leaves no link behind.
    driver.Step(kMain, [&](HWND window) {
        g_currentProfile = gt::DefaultProfile();
        gt::Command(window, ID_FILE_CREATE_SHORTCUT);
    });
    driver.Step(kBrowser, [](HWND browser) { gt::Click(browser, IDCANCEL); });
    Run(driver);
    EXPECT_EQ(ReadLink(folder.File("Zephlaunch twice.lnk")).icon, "C:\\second.exe");
    WIN32_FIND_DATAA found;
    int links = 0;
    HANDLE search = ::FindFirstFileA(folder.File("*.lnk").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            ++links;
        while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    EXPECT_EQ(links, 1);
}

// The seams: a platform with or without user account control, never elevated.
ElevationState VistaNotElevated() { return {true, false}; }
ElevationState VistaElevated() { return {true, true}; }
ElevationState OlderWindows() { return {false, false}; }

std::vector<HRESULT> g_flagRequests;
HRESULT RecordRunAsFlag(IShellLinkA* link)
{
    HRESULT result = SetLinkRunAsFlag(link);
    g_flagRequests.push_back(result);
    return result;
}

TEST_F(Shortcut, TheRunAsFlagIsRequestedForRunsThatNeedRightsOnVistaAndLaterOnly)
{
    zt::TempFolder folder;
    zt::WriteFileBytes(gt::ProfilePath("services"), gt::IniText("[Services]\nSpooler=Stop & Restart\n"));
    zt::WriteFileBytes(gt::ProfilePath("shell"),
                       gt::IniText("[Programs]\nExplorer.exe=Stop|C:\\windows\\explorer.exe\n"));
    zt::WriteFileBytes(
        gt::ProfilePath("harmless"),
        gt::IniText(
            "[Programs]\nexplorer.exe=No Action|C:\\windows\\explorer.exe\n[Services]\nSpooler=No Action\n"));
    SetLinkRunAsSetter(&RecordRunAsFlag);
    std::vector<size_t> requests;
    struct Case {
        ElevationProbe probe;
        const char* profile;
    };
    const Case cases[] = {{&VistaNotElevated, "services"},
                          {&VistaElevated, "shell"},
                          {&VistaNotElevated, "harmless"},
                          {&OlderWindows, "services"},
                          {&OlderWindows, "shell"}};
    gt::GuiDriver driver;
    for (const Case& c : cases) {
        driver.Step(kMain, [&, c](HWND window) {
            requests.push_back(g_flagRequests.size());
            SetElevationProbe(c.probe);
            g_currentProfile = gt::ProfilePath(c.profile);
            gt::Command(window, ID_FILE_CREATE_SHORTCUT);
        });
        driver.Step(kBrowser, [&](HWND browser) {
            EXPECT_TRUE(SelectFolder(browser, folder.Path()));
            gt::Click(browser, IDOK);
        });
    }
    driver.Step(kMain, [&](HWND) { requests.push_back(g_flagRequests.size()); });
    Run(driver);
    // One request each for the two Vista cases that stop something, none otherwise.
    EXPECT_EQ(requests, (std::vector<size_t>{0, 1, 2, 2, 2, 2}));
    for (HRESULT result : g_flagRequests)
        EXPECT_TRUE(SUCCEEDED(result) || result == E_NOTIMPL) << std::hex << result;
    EXPECT_TRUE(zt::FileExists(folder.File("Zephlaunch services.lnk")));
}

struct SeenRequest {
    ShellExecuteRequest request;
    bool mainMinimisedWhileRunning = false;
};
std::vector<SeenRequest> g_seen;
HWND g_mainWindow = nullptr;

// Ends the "run" once the main window is minimised (or after ten seconds without).
DWORD WINAPI ReleaseLater(void* event)
{
    for (DWORD waited = 0; waited < 10000 && !::IsIconic(g_mainWindow); waited += 10)
        ::Sleep(10);
    g_seen.back().mainMinimisedWhileRunning = ::IsIconic(g_mainWindow) != FALSE;
    ::SetEvent(static_cast<HANDLE>(event));
    return 0;
}

// Instead of the shell: a waitable handle that is set a moment later.
ShellExecuteOutcome RecordShellExecute(const ShellExecuteRequest& request)
{
    g_seen.push_back({request, false});
    ShellExecuteOutcome outcome;
    HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = ::CreateThread(nullptr, 0, &ReleaseLater, event, 0, nullptr);
    if (thread)
        ::CloseHandle(thread);
    outcome.ok = event != nullptr && thread != nullptr;
    outcome.process = event;
    return outcome;
}

TEST_F(Shortcut, StartAsksTheShellToRunTheControllerElevatedAndWaitsTheSameWay)
{
    zt::WriteFileBytes(gt::ProfilePath("services"), gt::IniText("[Services]\nZephNoSuchService=Stop\n"));
    SetElevationProbe(&VistaNotElevated);
    SetShellExecuteHandler(&RecordShellExecute);
    gt::GuiDriver driver;
    driver.Answer({IDNO});
    bool restored = false;
    char folder[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    driver.Step(kMain, [&](HWND window) {
        g_mainWindow = window;
        g_currentProfile = gt::ProfilePath("services");
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED),
                       reinterpret_cast<LPARAM>(gt::Item(window, IDC_START)));
    });
    driver.Step(kMain, [&](HWND window) { restored = !::IsIconic(window); });
    Run(driver);
    ASSERT_EQ(g_seen.size(), 1u);
    const ShellExecuteRequest& request = g_seen[0].request;
    EXPECT_EQ(request.verb, "runas");
    EXPECT_EQ(lstrcmpiA(request.file.c_str(), zt::BinPath("zephrun.exe").c_str()), 0) << request.file;
    EXPECT_EQ(request.parameters, "--user-process " + std::to_string(GetCurrentProcessId()) + " \""
                                      + gt::ProfilePath("services") + "\"");
    EXPECT_EQ(request.directory, std::string(folder));
    EXPECT_TRUE(request.wantProcess);
    EXPECT_TRUE(g_seen[0].mainMinimisedWhileRunning);
    EXPECT_TRUE(restored);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Do you wish to close the Zephlaunch GUI before launching?");
    EXPECT_TRUE(driver.MessageBoxes()[0].hasCancel);
}

ShellExecuteOutcome DeclineThePrompt(const ShellExecuteRequest& request)
{
    g_seen.push_back({request, false});
    ShellExecuteOutcome outcome;
    outcome.error = ERROR_CANCELLED;
    return outcome;
}

// A declined elevation prompt is a cancelled run, not a launch error; without its own
// folder the GUI starts nothing and writes no link rather than use "\zephrun.exe".
TEST_F(Shortcut, ADeclinedPromptAndAnUnknownOwnFolderAreSaidPlainly)
{
    zt::WriteFileBytes(gt::ProfilePath("services"), gt::IniText("[Services]\nZephNoSuchService=Stop\n"));
    SetElevationProbe(&VistaNotElevated);
    SetShellExecuteHandler(&DeclineThePrompt);
    g_seen.clear();
    gt::GuiDriver driver;
    driver.Answer({IDNO, IDOK, IDOK, IDOK});
    driver.Step(kMain, [](HWND window) {
        g_currentProfile = gt::ProfilePath("services");
        gt::Command(window, IDC_START);
    });
    driver.Step(kMain, [](HWND window) {
        SetOwnFolderLookup([] { return std::string(); });
        gt::Command(window, IDC_START);
    });
    driver.Step(kMain, [](HWND window) { gt::Command(window, ID_FILE_CREATE_SHORTCUT); });
    Run(driver);
    EXPECT_EQ(g_seen.size(), 1u);
    const char* const expected[] = {
        "Do you wish to close the Zephlaunch GUI before launching?",
        "The run was cancelled: it was not allowed to run with administrator rights.", gui::kOwnFolderUnknown,
        gui::kOwnFolderUnknown};
    ASSERT_EQ(driver.MessageBoxes().size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(driver.MessageBoxes()[i].text, expected[i]);
}

}  // namespace
