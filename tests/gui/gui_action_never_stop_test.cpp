// Rows Windows needs in the Programs and Services dialogs: they show "No Action" whatever
// the profile holds, their action cell opens no drop-down and puts one line about them
// in the help window, Save writes "No Action" for them, and ordinary rows keep all three
// actions. Driven with real clicks at computed cell points.
#include "dialogs/programs_dlg.h"
#include "resource.h"
#include "dialogs/services_dlg.h"
#include "support/action_lists.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const char kPrograms[] = "Configure Programs";
const char kServices[] = "Configure Services";
const char kNeededLine[] = ": Zephlaunch never stops it.";

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        if (::SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
            ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

// What a user sees of one row: its action, whether the second click on the action cell
// opened a drop-down (and with what), and the help window after hover and after a click.
struct RowSeen {
    std::string action;
    bool opened = false;
    std::vector<std::string> offered;
    std::string helpOnHover;
    std::string helpOnClick;
};

// Hovers the row, then (after another row has changed the help text) clicks its action
// cell twice. From an open drop-down the last action offered is picked.
RowSeen LookAtRow(HWND dialog, HWND list, HWND help, int row, int otherRow, int actionColumn)
{
    RowSeen seen;
    if (row < 0 || !help)
        return seen;
    seen.action = gt::CellText(list, row, actionColumn);
    gt::SendHotTrack(dialog, list, row);
    seen.helpOnHover = gt::HelpText(help);
    gt::SendHotTrack(dialog, list, otherRow);
    gt::ClickCell(list, row, actionColumn);
    seen.helpOnClick = gt::HelpText(help);
    gt::ClickCell(list, row, actionColumn);
    HWND combo = gt::InPlaceCombo(list);
    seen.opened = combo != nullptr;
    if (combo) {
        seen.offered = ComboItems(combo);
        gt::PickFromCombo(combo, static_cast<int>(seen.offered.size()) - 1);
        gt::Settle();
    }
    return seen;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find("\r\n")); }

void ExpectNeverStopRow(const RowSeen& seen, const std::string& name)
{
    const std::string line = "Windows needs " + name + kNeededLine;
    EXPECT_EQ(seen.action, "No Action") << name;
    EXPECT_FALSE(seen.opened) << name << " offered " << seen.offered.size() << " actions";
    EXPECT_EQ(FirstLine(seen.helpOnHover), line);
    EXPECT_EQ(FirstLine(seen.helpOnClick), line);
}

void ExpectOrdinaryRow(const RowSeen& seen)
{
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(seen.offered, (std::vector<std::string>{"No Action", "Stop", "Stop & Restart"}));
    EXPECT_EQ(seen.helpOnHover.find(kNeededLine), std::string::npos) << seen.helpOnHover;
}

class NeverStopRows : public ::testing::Test {
protected:
    void TearDown() override { gt::ResetSettings(); }

    template <typename Dialog>
    static INT_PTR Run(gt::GuiDriver& driver)
    {
        driver.Start(60);
        Dialog dialog;
        INT_PTR result = dialog.DoModal();
        driver.StopAndExpectClean();
        return result;
    }
    static HWND List(HWND dialog) { return gt::Item(dialog, IDC_ACTION_LIST); }
};

// Wine's own service manager, services.exe, runs in the test prefix like the one of Windows.
const char kProgramsProfile[] =
    "[Configuration]\ndescription=never stop\n[Programs]\n"
    "services.exe=Stop|C:\\windows\\system32\\services.exe\n"
    "csrss.exe=Stop & Restart|C:\\windows\\system32\\csrss.exe\n"
    "a_plain.exe=Stop|C:\\nowhere\\a_plain.exe\n";

TEST_F(NeverStopRows, ProgramsShowNoActionOfferNothingElseExplainAndSaveNoAction)
{
    gt::PrepareListDialogSettings(kProgramsProfile);
    gt::GuiDriver driver;
    RowSeen services, csrss, plain;
    std::string servicesRunning;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        HWND help = gt::HelpWindowOf(dialog, "Programs Help");
        ASSERT_NE(help, nullptr);
        int servicesRow = gt::FindRow(list, "services.exe");
        int csrssRow = gt::FindRow(list, "csrss.exe");  // not running here: a row from the profile
        int plainRow = gt::FindRow(list, "a_plain.exe");
        ASSERT_GE(servicesRow, 0);
        ASSERT_GE(csrssRow, 0);
        ASSERT_GE(plainRow, 0);
        servicesRunning = gt::CellText(list, servicesRow, CProgramsDlg::kRunning);
        services = LookAtRow(dialog, list, help, servicesRow, plainRow, CProgramsDlg::kAction);
        csrss = LookAtRow(dialog, list, help, csrssRow, plainRow, CProgramsDlg::kAction);
        plain = LookAtRow(dialog, list, help, plainRow, servicesRow, CProgramsDlg::kAction);
        gt::SendHotTrack(dialog, list, servicesRow);
        gt::SaveWindowsScreenshot({dialog, help}, "programs-dialog-never-stop-row");
        gt::Click(dialog, IDC_LIST_SAVE);
    });
    driver.Answer({IDOK});
    EXPECT_EQ(Run<CProgramsDlg>(driver), 0);

    EXPECT_EQ(servicesRunning, "Yes") << "services.exe is expected to be a running program's row";
    ExpectNeverStopRow(services, "services.exe");
    // The program's version text (here: that Wine's has none) follows the line.
    EXPECT_NE(services.helpOnHover.find(std::string(kNeededLine) + "\r\n\r\n"), std::string::npos)
        << services.helpOnHover;
    EXPECT_NE(services.helpOnHover.find("version information"), std::string::npos) << services.helpOnHover;
    ExpectNeverStopRow(csrss, "csrss.exe");
    EXPECT_EQ(plain.action, "Stop");
    ExpectOrdinaryRow(plain);

    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Program settings have been saved.");
    EXPECT_EQ(Lower(gt::ReadIni(gt::DefaultProfile(), "Programs", "services.exe")),
              "no action|c:\\windows\\system32\\services.exe");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "csrss.exe"),
              "No Action|C:\\windows\\system32\\csrss.exe");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "a_plain.exe"),
              "Stop & Restart|C:\\nowhere\\a_plain.exe");
}

// Clicking a never-stop row's action cell changes nothing: closing asks no question and
// the profile keeps what it held (the controller refuses it and says so).
TEST_F(NeverStopRows, ClickingANeverStopRowIsNoChange)
{
    gt::PrepareListDialogSettings(kProgramsProfile);
    gt::GuiDriver driver;
    bool opened = true;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        int row = gt::FindRow(list, "services.exe");
        ASSERT_GE(row, 0);
        gt::ClickCell(list, row, CProgramsDlg::kAction);
        gt::ClickCell(list, row, CProgramsDlg::kAction);
        gt::ClickCell(list, row, CProgramsDlg::kAction);
        opened = gt::InPlaceCombo(list) != nullptr;
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    Run<CProgramsDlg>(driver);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(driver.MessageBoxes().empty()) << driver.MessageBoxes().size() << " message boxes";
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Programs", "services.exe"),
              "Stop|C:\\windows\\system32\\services.exe");
}

std::string DisplayNameOf(const char* key)
{
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return std::string();
    char name[256] = {};
    DWORD size = sizeof name;
    BOOL ok = ::GetServiceDisplayNameA(manager, key, name, &size);
    ::CloseServiceHandle(manager);
    std::string text = ok ? name : "";
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

TEST_F(NeverStopRows, ServicesShowNoActionOfferNothingElseExplainAndSaveNoAction)
{
    gt::PrepareListDialogSettings(
        "[Configuration]\ndescription=never stop\n[Services]\n"
        "RpcSs=Stop\nplugplay=Stop & Restart\nSpooler=Stop\n");
    const std::string rpcss = DisplayNameOf("RpcSs");
    const std::string plugplay = DisplayNameOf("PlugPlay");
    const std::string spooler = DisplayNameOf("Spooler");
    ASSERT_FALSE(rpcss.empty());
    ASSERT_FALSE(plugplay.empty());
    ASSERT_FALSE(spooler.empty());
    gt::GuiDriver driver;
    RowSeen rpc, plug, spool;
    driver.Step(kServices, [&](HWND dialog) {
        HWND list = List(dialog);
        HWND help = gt::HelpWindowOf(dialog, "Services Help");
        ASSERT_NE(help, nullptr);
        int rpcRow = gt::FindRow(list, rpcss);
        int plugRow = gt::FindRow(list, plugplay);
        int spoolRow = gt::FindRow(list, spooler);
        ASSERT_GE(rpcRow, 0);
        ASSERT_GE(plugRow, 0);
        ASSERT_GE(spoolRow, 0);
        rpc = LookAtRow(dialog, list, help, rpcRow, spoolRow, CServicesDlg::kAction);
        plug = LookAtRow(dialog, list, help, plugRow, spoolRow, CServicesDlg::kAction);
        spool = LookAtRow(dialog, list, help, spoolRow, rpcRow, CServicesDlg::kAction);
        gt::SendHotTrack(dialog, list, rpcRow);
        gt::SaveWindowsScreenshot({dialog, help}, "services-dialog-never-stop-row");
        gt::Click(dialog, IDC_LIST_SAVE);
    });
    driver.Answer({IDOK});
    EXPECT_EQ(Run<CServicesDlg>(driver), 0);

    ExpectNeverStopRow(rpc, rpcss);
    EXPECT_NE(rpc.helpOnHover.find("\r\n\r\n" + rpcss + "\r\n\r\n"), std::string::npos) << rpc.helpOnHover;
    ExpectNeverStopRow(plug, plugplay);
    EXPECT_EQ(spool.action, "Stop");
    ExpectOrdinaryRow(spool);

    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Service settings have been saved.");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Services", "RpcSs"), "No Action");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Services", "PlugPlay"), "No Action");
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Services", "Spooler"), "Stop & Restart");
}

}  // namespace
