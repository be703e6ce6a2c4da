// The dialog layer under the GUI: data exchange with its standard refusals.
#include "framework/data_exchange.h"
#include "framework/dialog.h"
#include "framework/win_app.h"
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"

#include <gtest/gtest.h>

namespace {

// The New Profile template with a number in the name field and a short text in the
// description field.
class NumberDialog : public CDialog {
public:
    NumberDialog() : CDialog(IDD_NEW_PROFILE) {}
    int m_number = 7;
    std::string m_text = "ab";

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Text(dx, IDC_NEW_PROFILE_NAME, m_number);
        DDV_MinMaxInt(dx, m_number, 1, 600);
        DDX_Text(dx, IDC_NEW_PROFILE_DESCRIPTION, m_text);
        DDV_MaxChars(dx, m_text, 5);
    }
};

gt::GuiDriver::Action Enter(const std::string& number, const std::string& text)
{
    return [=](HWND dialog) {
        gt::TypeText(dialog, IDC_NEW_PROFILE_NAME, number);
        gt::TypeText(dialog, IDC_NEW_PROFILE_DESCRIPTION, text);
        gt::Click(dialog, IDOK);
    };
}

TEST(DataExchange, RefusesWhatIsNoNumberOutOfRangeOrTooLongAndKeepsTheDialogOpen)
{
    gt::PrepareApplication();
    NumberDialog dialog;
    gt::GuiDriver driver;
    driver.Answer({IDOK, IDOK, IDOK, IDOK});
    std::string shownFirst;
    std::vector<int> focusAfter;
    auto noteFocus = [&](HWND) { focusAfter.push_back(::GetDlgCtrlID(::GetFocus())); };
    driver.Step("New Profile", [&](HWND d) {
        shownFirst = gt::TitleOf(gt::Item(d, IDC_NEW_PROFILE_NAME)) + "|"
                     + gt::TitleOf(gt::Item(d, IDC_NEW_PROFILE_DESCRIPTION));
        Enter("abc", "x")(d);
    });
    driver.Step("New Profile", [&](HWND d) {
        noteFocus(d);
        Enter("700", "x")(d);
    });
    driver.Step("New Profile", [&](HWND d) {
        noteFocus(d);
        Enter(" -3 ", "x")(d);
    });
    driver.Step("New Profile", [&](HWND d) {
        noteFocus(d);
        Enter("42", "toolong")(d);
    });
    driver.Step("New Profile", [&](HWND d) {
        noteFocus(d);
        Enter(" 42 ", "fine")(d);
    });
    driver.Start();
    INT_PTR result = dialog.DoModal();
    driver.Stop();

    EXPECT_FALSE(driver.WatchdogFired());
    EXPECT_TRUE(driver.AllStepsRun());
    EXPECT_EQ(shownFirst, "7|ab");
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_number, 42);
    EXPECT_EQ(dialog.m_text, "fine");
    std::vector<std::string> texts;
    for (const gt::SeenMessageBox& box : driver.MessageBoxes()) {
        texts.push_back(box.text);
        EXPECT_EQ(box.icon, gt::BoxIcon::Exclamation);
        EXPECT_EQ(box.caption, AfxGetApp()->m_pszAppName);
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{
                  "Please enter an integer.", "Please enter an integer between 1 and 600.",
                  "Please enter an integer between 1 and 600.", "Please enter no more than 5 characters."}));
    EXPECT_EQ(focusAfter, (std::vector<int>{IDC_NEW_PROFILE_NAME, IDC_NEW_PROFILE_NAME, IDC_NEW_PROFILE_NAME,
                                            IDC_NEW_PROFILE_DESCRIPTION}));
}

}  // namespace
