// Run by many_services_test.sh in a prefix with ZEPH_EXTRA_SERVICES extra services
// (ZLExtraService001..., display names "ZL Extra Service 001 - registered for the list tests"...).
#include "resource.h"
#include "dialogs/services_dlg.h"
#include "support/action_lists.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/settings_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

int ExtraServices()
{
    const char* count = std::getenv("ZEPH_EXTRA_SERVICES");
    return count ? std::atoi(count) : 320;
}

// The situation the dialog has to cope with: one call into 30720 bytes is too small.
TEST(ManyServices, OneCallIntoTheOldBufferSizeFails)
{
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE);
    ASSERT_NE(manager, nullptr);
    std::string buffer(30720, '\0');
    DWORD needed = 0, count = 0, resume = 0;
    BOOL ok = ::EnumServicesStatusExA(manager, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                                      reinterpret_cast<BYTE*>(&buffer[0]), 30720, &needed, &count, &resume,
                                      nullptr);
    DWORD error = ::GetLastError();
    ::CloseServiceHandle(manager);
    EXPECT_FALSE(ok) << count << " services in " << needed << " bytes";
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_MORE_DATA));
}

TEST(ManyServices, TheDialogListsEveryService)
{
    gt::PrepareListDialogSettings("[Services]\nZLExtraService200=Stop\n");
    gt::GuiDriver driver;
    std::set<std::string> extra;
    std::string action;
    int rows = 0;
    driver.Step("Configure Services", [&](HWND dialog) {
        HWND list = gt::Item(dialog, IDC_ACTION_LIST);
        std::vector<std::string> items = gt::ListItems(list);
        rows = static_cast<int>(items.size());
        for (const std::string& item : items)
            if (item.compare(0, 17, "ZL Extra Service ") == 0)
                extra.insert(item);
        int row = gt::FindRow(list, "ZL Extra Service 200 - registered for the list tests");
        action = row < 0 ? "<no row>" : gt::CellText(list, row, CServicesDlg::kAction);
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    driver.Start(120);
    CServicesDlg dialog;
    dialog.DoModal();
    driver.Stop();
    EXPECT_TRUE(driver.AllStepsRun());
    EXPECT_EQ(driver.MessageBoxes().size(), 0u)
        << (driver.MessageBoxes().empty() ? "" : driver.MessageBoxes()[0].text);
    EXPECT_EQ(static_cast<int>(extra.size()), ExtraServices());
    EXPECT_GT(rows, ExtraServices());
    EXPECT_EQ(action, "Stop");
    gt::ResetSettings();
}

}  // namespace
