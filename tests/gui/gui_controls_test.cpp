// CIconButton inside real dialog templates: the tick state of a check-box button and
// where the keyboard focus goes when a button is disabled.
#include "controls/icon_button.h"
#include "framework/dialog.h"
#include "resource.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A dialog from one of the program's templates with CIconButton bound to the given
// controls; check runs once the dialog is up, then the dialog ends.
class ButtonDialog : public CDialog {
public:
    ButtonDialog(UINT templateId, std::vector<int> ids, std::function<void(ButtonDialog&)> check)
        : CDialog(templateId), m_ids(std::move(ids)), m_buttons(m_ids.size()), m_check(std::move(check))
    {}

    CIconButton& Button(size_t index) { return m_buttons[index]; }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        for (size_t i = 0; i < m_ids.size(); ++i) {
            m_buttons[i].SubclassDlgItem(m_ids[i], m_hWnd);
            m_buttons[i].SetIcon(IDI_SAVE, CIconButton::kDarkened);
            m_buttons[i].SetFlat(true, true);
        }
        SetTimer(1, 50);
        return TRUE;
    }

    bool OnTimer(UINT_PTR id) override
    {
        KillTimer(id);
        m_check(*this);
        EndDialog(IDOK);
        return true;
    }

private:
    std::vector<int> m_ids;
    std::vector<CIconButton> m_buttons;
    std::function<void(ButtonDialog&)> m_check;
};

void RunWithWatchdog(ButtonDialog& dialog)
{
    gt::PrepareApplication();
    gt::GuiDriver driver;
    driver.Start(20);
    dialog.DoModal();
    driver.StopAndExpectClean();
}

TEST(IconButton, CheckBoxTicksForOneAndTwoAndUnticksForAnythingElse)
{
    std::vector<int> states;
    ButtonDialog dialog(IDD_PROGRAM_OPTIONS, {IDC_ENABLE_TOOLTIPS}, [&](ButtonDialog& d) {
        HWND box = d.GetDlgItem(IDC_ENABLE_TOOLTIPS);
        EXPECT_TRUE(d.Button(0).IsCheckBox());
        for (WPARAM state : {1, 0, 2, 3, 2, 0}) {
            ::SendMessageA(box, BM_SETCHECK, state, 0);
            states.push_back(static_cast<int>(::SendMessageA(box, BM_GETCHECK, 0, 0)));
        }
        // A click toggles the tick.
        ::SendMessageA(box, BM_CLICK, 0, 0);
        states.push_back(static_cast<int>(::SendMessageA(box, BM_GETCHECK, 0, 0)));
        gt::SaveWindowScreenshot(d.m_hWnd, "icon-button-ticked");
        ::SendMessageA(box, BM_CLICK, 0, 0);
        states.push_back(static_cast<int>(::SendMessageA(box, BM_GETCHECK, 0, 0)));
    });
    RunWithWatchdog(dialog);
    EXPECT_EQ(states, (std::vector<int>{1, 0, 1, 0, 1, 0, 1, 0}));
}

TEST(IconButton, DisablingMovesTheFocusToTheNextEnabledTabStopAndEnablingMovesNothing)
{
    // Template 102: buttons 1002..1005, then the list 1038, all tab stops.
    std::vector<int> focus;
    ButtonDialog dialog(IDD_ZEPHLAUNCH_DIALOG, {IDC_SERVICES, IDC_PROGRAMS, IDC_CONFIGURE, IDC_START},
                        [&](ButtonDialog& d) {
                            auto focused = [] { return ::GetDlgCtrlID(::GetFocus()); };
                            ::SetFocus(d.GetDlgItem(IDC_PROFILE_LIST));
                            ::EnableWindow(d.GetDlgItem(IDC_PROGRAMS), FALSE);  // focus was elsewhere
                            focus.push_back(focused());
                            ::EnableWindow(d.GetDlgItem(IDC_CONFIGURE), FALSE);  // focus was on it
                            focus.push_back(focused());
                            ::EnableWindow(d.GetDlgItem(IDC_PROGRAMS), TRUE);
                            focus.push_back(focused());
                        });
    RunWithWatchdog(dialog);
    EXPECT_EQ(focus, (std::vector<int>{IDC_CONFIGURE, IDC_START, IDC_START}));
}

}  // namespace
