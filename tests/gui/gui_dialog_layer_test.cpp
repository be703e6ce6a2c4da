// The window layer every dialog stands on: modal dialogs owned by the main window, the
// main window's focus and tab order, one tool-tip set-up that keeps the texts' own line
// breaks, windows bound from their creation with notifications reflected from any bound
// parent, the combo box's prefix selection, the Open dialog with both structure sizes,
// and no comctl32 subclassing imports in Zephlaunch.exe.
#include "framework/combo_box.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/file_dialog.h"
#include "framework/list_ctrl.h"
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const char kMain[] = "Zephlaunch - zephlaunch";

class MainWindow : public gt::FreshSettingsTest {
protected:
    static void Run(gt::GuiDriver& driver) { gt::RunMainWindowScript(driver); }
};

struct Ownership {
    HWND owner = nullptr;
    bool mainEnabledInside = true;
    bool mainEnabledAfter = false;
};

TEST_F(MainWindow, SubDialogsAreOwnedByItAndItIsDisabledWhileTheyRun)
{
    gt::GuiDriver driver;
    HWND main = nullptr;
    Ownership newProfile, options;
    auto inside = [&](Ownership& seen) {
        return [&](HWND dialog) {
            seen.owner = ::GetWindow(dialog, GW_OWNER);
            seen.mainEnabledInside = ::IsWindowEnabled(main) != FALSE;
            gt::Command(dialog, IDCANCEL);
        };
    };
    driver.Step(kMain, [&](HWND window) {
        main = window;
        gt::Command(window, ID_FILE_NEW);
    });
    driver.Step("New Profile", inside(newProfile));
    driver.Step(kMain, [&](HWND window) {
        newProfile.mainEnabledAfter = ::IsWindowEnabled(window) != FALSE;
        gt::Command(window, ID_TOOLS_PROGRAM_OPTIONS);
    });
    driver.Step("Program Options", inside(options));
    driver.Step(kMain, [&](HWND window) {
        options.mainEnabledAfter = ::IsWindowEnabled(window) != FALSE;
        gt::Command(window, ID_APP_EXIT);
    });
    Run(driver);
    for (const Ownership* seen : {&newProfile, &options}) {
        EXPECT_EQ(seen->owner, main);
        EXPECT_FALSE(seen->mainEnabledInside);
        EXPECT_TRUE(seen->mainEnabledAfter);
    }
}

TEST_F(MainWindow, FocusStartsOnTheProfileListAndTabGoesOnToTheButtons)
{
    gt::GuiDriver driver;
    std::vector<int> focus;
    driver.Step(kMain, [&](HWND) {
        focus.push_back(::GetDlgCtrlID(::GetFocus()));
        // Through the dialog's own loop, which moves the focus on Tab.
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        ::PostMessageA(::GetFocus(), WM_KEYUP, VK_TAB, 0xC0000001);
    });
    driver.Step(kMain, [&](HWND window) {
        focus.push_back(::GetDlgCtrlID(::GetFocus()));
        gt::Command(window, IDCANCEL);
    });
    Run(driver);
    EXPECT_EQ(focus, (std::vector<int>{IDC_PROFILE_LIST, IDC_SERVICES}));
}

// The New Profile template with tips of one short line, two lines, and one long line.
class TipDialog : public CDialog {
public:
    TipDialog() : CDialog(IDD_NEW_PROFILE) {}
    std::string m_longText =
        std::string("A long tip that must stay on one line because it has no line break of its ")
        + "own, however wide it grows on the screen";

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        const ToolTipEntry tips[] = {{IDC_NEW_PROFILE_BLANK, "Short"},
                                     {IDC_NEW_PROFILE_COPY, "First line\r\nSecond line"},
                                     {IDC_NEW_PROFILE_NAME, m_longText.c_str()},
                                     {4711, "no such control"}};
        SetUpToolTips("Tips", tips);
        return TRUE;
    }
};

// Hovers a control until its tip shows and returns the tip window's size.
SIZE ShownTipSize(HWND dialog, int id, const char* screenshotName = nullptr)
{
    HWND tip = gt::ToolTipOf(dialog);
    SIZE size = {0, 0};
    if (!tip)
        return size;
    ::SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, 50);
    HWND control = ::GetDlgItem(dialog, id);
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    POINT client = {(rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2};
    ::PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    if (gt::PumpUntil([&] { return ::IsWindowVisible(tip) != FALSE; }, 2000)) {
        RECT shown;
        ::GetWindowRect(tip, &shown);
        size.cx = shown.right - shown.left;
        size.cy = shown.bottom - shown.top;
        if (screenshotName)
            gt::SaveWindowScreenshot(tip, screenshotName);
    }
    ::SendMessageA(tip, TTM_POP, 0, 0);
    ::SetCursorPos(0, 0);
    return size;
}

TEST(ToolTips, OneSetUpTitlesTheTipsAndBreaksLinesOnlyWhereTheTextsDo)
{
    gt::PrepareApplication();
    TipDialog dialog;
    gt::GuiDriver driver;
    int tools = 0, maxWidth = 0;
    LONG_PTR style = 0;
    SIZE shortTip = {}, twoLines = {}, longTip = {};
    driver.Step("New Profile", [&](HWND d) {
        HWND tip = gt::ToolTipOf(d);
        tools = static_cast<int>(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
        maxWidth = static_cast<int>(::SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0));
        style = ::GetWindowLongPtrA(tip, GWL_STYLE);
        shortTip = ShownTipSize(d, IDC_NEW_PROFILE_BLANK);
        twoLines = ShownTipSize(d, IDC_NEW_PROFILE_COPY, "tool-tip-two-lines");
        longTip = ShownTipSize(d, IDC_NEW_PROFILE_NAME);
        gt::Command(d, IDCANCEL);
    });
    driver.Start();
    dialog.DoModal();
    driver.StopAndExpectClean();
    EXPECT_EQ(tools, 3) << "a table entry without its control adds no tool";
    EXPECT_EQ(maxWidth, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(style & TTS_ALWAYSTIP, 0);
    EXPECT_NE(style & TTS_BALLOON, 0);
    ASSERT_GT(shortTip.cy, 0);
    EXPECT_GT(twoLines.cy, shortTip.cy) << "the text's own line break is kept";
    EXPECT_EQ(longTip.cy, shortTip.cy) << "a long line is not re-wrapped";
    EXPECT_GT(longTip.cx, 300);
}

TEST(ToolTips, ADialogObjectRunTwiceHasItsTipsBothTimes)
{
    gt::PrepareApplication();
    TipDialog dialog;
    std::vector<int> tools;
    for (int run = 0; run < 2; ++run) {
        gt::GuiDriver driver;
        driver.Step("New Profile", [&](HWND d) {
            tools.push_back(static_cast<int>(::SendMessageA(gt::ToolTipOf(d), TTM_GETTOOLCOUNT, 0, 0)));
            gt::Command(d, IDCANCEL);
        });
        driver.Start();
        dialog.DoModal();
        driver.StopAndExpectClean();
    }
    EXPECT_EQ(tools, (std::vector<int>{3, 3}));
}

// A list view bound from its creation that hosts a combo box bound the same way.
class RecordingList : public CListCtrl {
public:
    std::vector<UINT> m_first;  // the first messages seen
    bool m_boundAtCreate = false;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (m_first.size() < 3)
            m_first.push_back(msg);
        if (msg == WM_CREATE)
            m_boundAtCreate = m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this;
        return CListCtrl::WindowProc(msg, wp, lp);
    }
};

class RecordingCombo : public CComboBox {
public:
    std::vector<UINT> m_reflected;  // notification codes offered by the parent
    bool m_sawCreate = false;

    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM, LRESULT*) override
    {
        if (msg == WM_COMMAND)
            m_reflected.push_back(HIWORD(wp));
        return false;
    }

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_CREATE)
            m_sawCreate = true;
        return CComboBox::WindowProc(msg, wp, lp);
    }
};

class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_NEW_PROFILE) {}
    RecordingList m_list;
    RecordingCombo m_inPlace;
    CComboBox m_dropList;
    CComboBox m_dropDown;
    std::string m_dropListValue;
    std::string m_dropDownValue;
    bool m_created = false;

    void Load() { UpdateData(false); }
    bool Save() { return UpdateData(true); }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_CBString(dx, 5001, m_dropListValue);
        DDX_CBString(dx, 5002, m_dropDownValue);
    }

    BOOL OnInitDialog() override
    {
        RECT listRect = {10, 10, 200, 120};
        RECT comboRect = {5, 5, 150, 200};
        RECT lowRect = {210, 10, 330, 200};
        RECT lowRect2 = {210, 40, 330, 230};
        m_created =
            m_list.CreateEx(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, listRect, m_hWnd, 5000)
            && m_inPlace.CreateEx(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, comboRect,
                                  m_list, 77)
            && m_dropList.CreateEx(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                                   lowRect, m_hWnd, 5001)
            && m_dropDown.CreateEx(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL,
                                   lowRect2, m_hWnd, 5002);
        static const char* const priorities[] = {"Realtime", "High",         "Above Normal",
                                                 "Normal",   "Below Normal", "Low"};
        m_dropList.AddStrings(priorities, 6);
        m_dropDown.AddStrings(priorities, 6);
        return TRUE;
    }
};

TEST(BoundWindows, CreatedWindowsAreBoundFromTheirFirstMessageAndGetNotificationsFromAnyBoundParent)
{
    gt::PrepareApplication();
    HostDialog dialog;
    gt::GuiDriver driver;
    char className[32] = {};
    driver.Step("New Profile", [&](HWND d) {
        ::GetClassNameA(dialog.m_inPlace, className, sizeof className);
        dialog.m_inPlace.SetFocus();  // the combo tells its parent, the list view
        gt::Command(d, IDCANCEL);
    });
    driver.Start();
    dialog.DoModal();
    driver.StopAndExpectClean();
    ASSERT_TRUE(dialog.m_created);
    ASSERT_FALSE(dialog.m_list.m_first.empty());
    EXPECT_TRUE(dialog.m_list.m_first[0] == WM_NCCREATE || dialog.m_list.m_first[0] == WM_GETMINMAXINFO)
        << dialog.m_list.m_first[0];
    EXPECT_TRUE(dialog.m_list.m_boundAtCreate);
    EXPECT_TRUE(dialog.m_inPlace.m_sawCreate);
    EXPECT_STREQ(className, "ZephComboBox");
    ASSERT_FALSE(dialog.m_inPlace.m_reflected.empty());
    EXPECT_EQ(dialog.m_inPlace.m_reflected[0], static_cast<UINT>(CBN_SETFOCUS));
    EXPECT_EQ(dialog.m_list.m_hWnd, nullptr) << "detached when the window went";
}

TEST(DataExchange, ComboTextSelectsTheFirstItemThatBeginsWithItIgnoringCase)
{
    gt::PrepareApplication();
    HostDialog dialog;
    gt::GuiDriver driver;
    std::vector<std::string> shown;
    std::vector<std::string> saved;
    driver.Step("New Profile", [&](HWND d) {
        for (const char* value : {"high", "Below", "Idle"}) {
            dialog.m_dropListValue = value;
            dialog.m_dropDownValue = value;
            dialog.Load();
            int selected = dialog.m_dropList.GetCurSel();
            shown.push_back(selected < 0 ? "<none>" : dialog.m_dropList.GetLBText(selected));
            shown.push_back(dialog.m_dropDown.GetWindowText());
            dialog.Save();
            saved.push_back(dialog.m_dropListValue + "|" + dialog.m_dropDownValue);
            // Start each value from no selection, as a freshly opened dialog does.
            dialog.m_dropList.SetCurSel(-1);
            dialog.m_dropDown.SetCurSel(-1);
        }
        gt::Command(d, IDCANCEL);
    });
    driver.Start();
    dialog.DoModal();
    driver.StopAndExpectClean();
    EXPECT_EQ(shown,
              (std::vector<std::string>{"High", "High", "Below Normal", "Below Normal", "<none>", "Idle"}));
    EXPECT_EQ(saved, (std::vector<std::string>{"High|High", "Below Normal|Below Normal", "|Idle"}));
}

// A template whose initialisation data fills a combo box and a list box.
class InitDataDialog : public CDialog {
public:
    InitDataDialog() : CDialog(9001) {}
    std::vector<std::string> m_comboAtInit;
    std::string m_priority = "above";

protected:
    void DoDataExchange(CDataExchange* dx) override { DDX_CBString(dx, 9002, m_priority); }
    BOOL OnInitDialog() override
    {
        CComboBox combo(GetDlgItem(9002));
        for (int i = 0; i < combo.GetCount(); ++i)
            m_comboAtInit.push_back(combo.GetLBText(i));
        return CDialog::OnInitDialog();
    }
};

TEST(DialogInitData, FillsTheListsBeforeTheDialogsOwnInitialisation)
{
    gt::PrepareApplication();
    InitDataDialog dialog;
    gt::GuiDriver driver;
    int listItems = -1;
    std::string selected;
    driver.Step("Init Data", [&](HWND d) {
        listItems = static_cast<int>(::SendMessageA(gt::Item(d, 9003), LB_GETCOUNT, 0, 0));
        CComboBox combo(gt::Item(d, 9002));
        selected = combo.GetCurSel() < 0 ? "<none>" : combo.GetLBText(combo.GetCurSel());
        gt::Command(d, IDCANCEL);
    });
    driver.Start();
    dialog.DoModal();
    driver.StopAndExpectClean();
    EXPECT_EQ(dialog.m_comboAtInit, (std::vector<std::string>{"Realtime", "High", "Above Normal"}));
    EXPECT_EQ(listItems, 1);
    EXPECT_EQ(selected, "Above Normal");
}

// The Open dialog accepts the full structure size and the old one on this target.
TEST(FileDialog, OpensWithBothStructureSizesAndReturnsTheChosenFile)
{
    gt::PrepareApplication();
    const std::string chosen = zt::BinPath("Zephlaunch.exe");
    for (DWORD size : {kOpenFileNameSizeFull, kOpenFileNameSizeOld}) {
        CFileDialog dialog(true, "exe", nullptr,
                           OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING,
                           "Executables|*.exe|All Files|*.*||", nullptr, size);
        gt::GuiDriver driver;
        driver.Step("Open", [&](HWND d) {
            HWND name = ::GetDlgItem(d, 0x47c);  // the file-name combo box
            if (!name)
                name = ::GetDlgItem(d, 0x480);  // or edit
            ::SetWindowTextA(name, chosen.c_str());
            ::PostMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(d, IDOK)));
        });
        driver.Start();
        INT_PTR result = dialog.DoModal();
        driver.Stop();
        EXPECT_TRUE(driver.AllStepsRun()) << size;
        EXPECT_EQ(result, IDOK) << size << " error " << dialog.GetError();
        EXPECT_EQ(dialog.GetError(), 0u);
        EXPECT_EQ(lstrcmpiA(dialog.GetPathName().c_str(), chosen.c_str()), 0) << dialog.GetPathName();
        EXPECT_EQ(lstrcmpiA(dialog.GetFileName().c_str(), "Zephlaunch.exe"), 0);
    }
}

// The names Zephlaunch.exe imports from one DLL (case-insensitive DLL name).
std::vector<std::string> ImportsFrom(const std::string& exe, const char* dll)
{
    std::vector<std::string> names;
    HMODULE module = ::LoadLibraryExA(exe.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!module)
        return {"<not loaded>"};
    auto* base = reinterpret_cast<const unsigned char*>(module);
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         entry->Name; ++entry) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0)
            continue;
        DWORD thunks = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
        for (auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + thunks); thunk->u1.AddressOfData;
             ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal))
                continue;
            names.push_back(
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData)->Name);
        }
    }
    ::FreeLibrary(module);
    return names;
}

TEST(Imports, ZephlaunchUsesNoComctl32SubclassingFunctions)
{
    std::vector<std::string> names = ImportsFrom(zt::BinPath("Zephlaunch.exe"), "comctl32.dll");
    ASSERT_FALSE(names.empty()) << "the list view and image lists come from comctl32";
    ASSERT_NE(names[0], "<not loaded>");
    for (const std::string& name : names) {
        EXPECT_NE(name, "SetWindowSubclass");
        EXPECT_NE(name, "DefSubclassProc");
        EXPECT_NE(name, "RemoveWindowSubclass");
        EXPECT_NE(name, "GetWindowSubclass");
    }
}

}  // namespace
