// The Services dialog: the rows of the machine's services, help texts from the
// service-help file, the Running view, Save keeping entries of services that are not
// installed, the unsaved-changes question, a Service Control Manager that refuses (all, or
// what only administrators get), and the main window's Services button.
#include "resource.h"
#include "dialogs/services_dlg.h"
#include "support/action_lists.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"
#include "support/test_services.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

const char kServices[] = "Configure Services";
const char kUnsaved[] = "You have made changes that have not been saved.  Would you like to save them now?";
using Col = CServicesDlg::Column;

// A service of the test's own with a display name that ends in blanks and a description.
class PaddedService {
public:
    PaddedService() : m_name(zt::UniqueServiceName("zlpad"))
    {
        zt::ScmHandle manager(zt::OpenManager());
        const std::string binary = "\"" + zt::BinPath("fixture_service.exe") + "\" " + m_name + " prompt";
        zt::ScmHandle service(::CreateServiceA(manager.Get(), m_name.c_str(), "ZL Padded Service   ",
                                               SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
                                               SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, binary.c_str(),
                                               nullptr, nullptr, nullptr, nullptr, nullptr));
        if (!service)
            throw std::runtime_error("CreateService failed");
        SERVICE_DESCRIPTIONA description = {const_cast<char*>("Padded fixture description")};
        ::ChangeServiceConfig2A(service.Get(), SERVICE_CONFIG_DESCRIPTION, &description);
    }
    ~PaddedService()
    {
        zt::ScmHandle manager(zt::OpenManager());
        zt::ScmHandle service(::OpenServiceA(manager.Get(), m_name.c_str(), DELETE));
        if (service)
            ::DeleteService(service.Get());
    }
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
};

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The manager as a user without administrator rights gets it (Wine's grants everything).
SC_HANDLE WINAPI OpenAsUser(LPCSTR machine, LPCSTR database, DWORD rights)
{
    if ((rights & ~(SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE | SC_MANAGER_QUERY_LOCK_STATUS)) == 0)
        return ::OpenSCManagerA(machine, database, rights);
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

class ServicesDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        CServicesDlg::s_openManager = &OpenAsUser;
        gt::PrepareListDialogSettings("[Configuration]\ndescription=services\n[Services]\n" + m_service.Name()
                                      + "=stop & restart\nNotHere_Service=Stop & Restart\n");
        // A help file far larger than one section read takes; the entry comes last and
        // its key is in other letters' case.
        std::string help = "[ServicesHelp]\n";
        for (int i = 0; i < 400; ++i) {
            char line[160];
            std::snprintf(line, sizeof line, "Filler%03d=%s\n", i, std::string(120, 'f').c_str());
            help += line;
        }
        help += Upper(m_service.Name()) + "=Help for the padded service.\n";
        zt::WriteFileBytes(gt::ServiceHelpFile(), gt::IniText(help));
    }
    void TearDown() override
    {
        CServicesDlg::s_openManager = &::OpenSCManagerA;
        gt::ResetSettings();
    }

    static INT_PTR Run(gt::GuiDriver& driver)
    {
        driver.Start(60);
        CServicesDlg dialog;
        INT_PTR result = dialog.DoModal();
        driver.StopAndExpectClean();
        return result;
    }
    static HWND List(HWND dialog) { return gt::Item(dialog, IDC_ACTION_LIST); }
    static std::string Stored(const std::string& key)
    {
        return gt::ReadIni(gt::DefaultProfile(), "Services", key.c_str());
    }

    PaddedService m_service;
};

TEST_F(ServicesDialog, RowsHelpTextsAndSaveKeepingEntriesOfServicesNotInstalled)
{
    gt::GuiDriver driver;
    std::vector<std::string> padded;
    std::string spoolerState, helpPadded, helpSpooler;
    int rows = 0;
    driver.Step(kServices, [&](HWND dialog) {
        HWND list = List(dialog);
        rows = static_cast<int>(gt::ListItems(list).size());
        int row = gt::FindRow(list, "ZL Padded Service");
        for (int column = 0; column < 4 && row >= 0; ++column)
            padded.push_back(gt::CellText(list, row, column));
        int spooler = gt::FindRow(list, "Print Spooler");
        spoolerState = spooler < 0 ? "<no row>" : gt::CellText(list, spooler, Col::kState);
        HWND help = gt::HelpWindowOf(dialog, "Services Help");
        ASSERT_NE(help, nullptr);
        gt::SendHotTrack(dialog, list, row);
        helpPadded = gt::HelpText(help);
        gt::SaveWindowsScreenshot({dialog, help}, "services-dialog-help-docked");
        gt::SendHotTrack(dialog, list, spooler);
        helpSpooler = gt::HelpText(help);
        gt::Click(dialog, IDC_LIST_SAVE);
    });
    driver.Answer({IDOK});
    EXPECT_EQ(Run(driver), 0);

    EXPECT_GE(rows, 10);
    ASSERT_EQ(padded.size(), 4u);
    EXPECT_EQ(padded[Col::kDescription], "Padded fixture description");
    EXPECT_EQ(padded[Col::kState], "Stopped");
    EXPECT_EQ(padded[Col::kAction], "stop & restart");  // shown verbatim
    EXPECT_TRUE(spoolerState == "Running" || spoolerState == "Stopped") << spoolerState;
    EXPECT_EQ(helpPadded,
              "ZL Padded Service\r\n\r\nHelp for the padded service.\r\n\r\nDISCLAIMER:  These "
              "recommendations may or "
              "may not work for you.  Please use with caution.  If you notice any problems, you may reboot "
              "your computer "
              "since nothing is permanently disabled with this software.");
    EXPECT_EQ(helpSpooler, "Print Spooler\r\n\r\nNo additional help available.");

    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text, "Service settings have been saved.");
    EXPECT_EQ(Stored(m_service.Name()), "stop & restart");
    EXPECT_EQ(Stored("NotHere_Service"), "Stop & Restart");
    EXPECT_EQ(Stored("Spooler"), "No Action");  // every row is written
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Configuration", "description"), "services");
}

// Running hides the services that do not run, keeps them and the actions chosen so
// far, and Save writes them too.
TEST_F(ServicesDialog, RunningIsAViewAndSaveWritesHiddenRows)
{
    gt::GuiDriver driver;
    int notRunningShown = -1;
    std::string keptAfterToggle;
    driver.Step(kServices, [&](HWND dialog) {
        HWND list = List(dialog);
        int row = gt::FindRow(list, "ZL Padded Service");
        gt::ClickCell(list, row, Col::kAction);
        gt::ClickCell(list, row, Col::kAction);
        HWND combo = gt::InPlaceCombo(list);
        ASSERT_NE(combo, nullptr);
        ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        gt::Settle();
        gt::SaveWindowsScreenshot({dialog, gt::HelpWindowOf(dialog, "Services Help")},
                                  "services-dialog-inplace-list-open");
        gt::PickFromCombo(combo, 1);  // "Stop"
        gt::Click(dialog, IDC_LIST_RUNNING);
        gt::Settle();
        notRunningShown = 0;
        for (int i = 0; i < static_cast<int>(gt::ListItems(list).size()); ++i)
            notRunningShown += gt::CellText(list, i, Col::kState) != "Running" ? 1 : 0;
        EXPECT_EQ(gt::FindRow(list, "ZL Padded Service"), -1);
        gt::Click(dialog, IDC_LIST_RUNNING);
        gt::Settle();
        int back = gt::FindRow(list, "ZL Padded Service");
        keptAfterToggle = back < 0 ? "<row lost>" : gt::CellText(list, back, Col::kAction);
        gt::Click(dialog, IDC_LIST_RUNNING);
        gt::Settle();
        gt::Click(dialog, IDC_LIST_SAVE);
    });
    driver.Answer({IDOK});
    Run(driver);
    EXPECT_EQ(notRunningShown, 0);
    EXPECT_EQ(keptAfterToggle, "Stop");
    EXPECT_EQ(Stored(m_service.Name()), "Stop");
    EXPECT_EQ(Stored("NotHere_Service"), "Stop & Restart");
}

TEST_F(ServicesDialog, ResetIsAChangeThatEscapeAsksAbout)
{
    const std::string before = zt::ReadFileBytes(gt::DefaultProfile());
    gt::GuiDriver driver;
    std::string action;
    driver.Step(kServices, [&](HWND dialog) { gt::Click(dialog, IDC_LIST_RESET); });
    driver.Step(kServices, [&](HWND dialog) {
        HWND list = List(dialog);
        action = gt::CellText(list, gt::FindRow(list, "ZL Padded Service"), Col::kAction);
        HWND focus = gt::Item(dialog, IDC_ACTION_LIST);
        ::SetFocus(focus);
        ::PostMessageA(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    });
    driver.Answer({IDYES, IDNO});
    Run(driver);
    ASSERT_EQ(driver.MessageBoxes().size(), 2u);
    EXPECT_EQ(
        driver.MessageBoxes()[0].text,
        "This will reset the Action for all services to 'No Action'.  Are you sure you want to do this?");
    EXPECT_EQ(driver.MessageBoxes()[1].text, kUnsaved);
    EXPECT_EQ(action, "No Action");
    EXPECT_EQ(zt::ReadFileBytes(gt::DefaultProfile()), before);
}

SC_HANDLE WINAPI RefusingOpen(LPCSTR, LPCSTR, DWORD)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

// A user without administrator rights: Wine's manager never refuses, so the open is replaced.
TEST(ServicesManagerRefuses, TheErrorIsShownAndTheDialogEnds)
{
    gt::PrepareListDialogSettings("[Services]\nSpooler=Stop\n");
    CServicesDlg::OpenManagerFn original = CServicesDlg::s_openManager;
    CServicesDlg::s_openManager = &RefusingOpen;
    gt::GuiDriver driver;
    driver.Answer({IDOK});
    driver.Start(30);
    CServicesDlg dialog;
    INT_PTR result = dialog.DoModal();
    driver.Stop();
    CServicesDlg::s_openManager = original;
    EXPECT_EQ(result, 0);
    ASSERT_EQ(driver.MessageBoxes().size(), 1u);
    EXPECT_EQ(driver.MessageBoxes()[0].text,
              "Zephlaunch was unable to open the Service Control Manager.  The error code is 5");
    EXPECT_EQ(driver.MessageBoxes()[0].icon, gt::BoxIcon::Exclamation);
    EXPECT_EQ(gt::ReadIni(gt::DefaultProfile(), "Services", "Spooler"), "Stop");
    gt::ResetSettings();
}

TEST(ServicesFromMainWindow, ServicesButtonOpensTheDialog)
{
    gt::PrepareApplication();
    gt::ResetSettings();
    const gt::DialogOwnership seen = gt::OpenDialogFromMainWindow(
        IDC_SERVICES, kServices, [](HWND dialog) { ::PostMessageA(dialog, WM_CLOSE, 0, 0); });
    EXPECT_EQ(seen.owner, seen.mainWindow);
    gt::ResetSettings();
}

}  // namespace
