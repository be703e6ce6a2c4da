// The action list and its in-place drop-down, driven with real clicks at computed cell
// points in the Programs dialog, and the docked help window.
#include "dialogs/programs_dlg.h"
#include "resource.h"
#include "support/action_lists.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/screenshot.h"
#include "support/settings_folder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

const char kPrograms[] = "Configure Programs";
const int kAction = CProgramsDlg::kAction;
const char kUnsaved[] = "You have made changes that have not been saved.  Would you like to save them now?";

// Rows known only from the profile sort first ("a_..."), ahead of the running processes.
std::string Profile(int extraRows = 0)
{
    std::string text =
        "[Configuration]\ndescription=list test\n[Programs]\n"
        "a_alpha.exe=Stop|C:\\nowhere\\a_alpha.exe\n"
        "a_beta.exe=Stop & Restart|C:\\nowhere\\a_beta.exe\n"
        "a_gamma.exe=No Action|C:\\nowhere\\a_gamma.exe\n";
    for (int i = 0; i < extraRows; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "b_row%02d.exe=Stop|C:\\nowhere\\b_row%02d.exe\n", i, i);
        text += line;
    }
    return text;
}

class ActionList : public ::testing::Test {
protected:
    void SetUp() override { gt::PrepareListDialogSettings(Profile(m_extraRows)); }
    void TearDown() override { gt::ResetSettings(); }

    void Run(gt::GuiDriver& driver, int expectedQuestions = -1)
    {
        driver.Start(40);
        CProgramsDlg dialog;
        dialog.DoModal();
        driver.StopAndExpectClean();
        if (expectedQuestions >= 0) {
            int questions = 0;
            for (const auto& box : driver.MessageBoxes())
                questions += box.text == kUnsaved ? 1 : 0;
            EXPECT_EQ(questions, expectedQuestions);
        }
    }

    static HWND List(HWND dialog) { return gt::Item(dialog, IDC_ACTION_LIST); }
    static std::string Stored(const char* key) { return gt::ReadIni(gt::DefaultProfile(), "Programs", key); }

    int m_extraRows = 0;
};

TEST_F(ActionList, FirstClickSelectsSecondOpensAndChoosingCommits)
{
    gt::GuiDriver driver;
    bool selectedWithoutCombo = false, openedOnSecond = false, pickWorked = false;
    std::string comboText, cellAfter;
    int comboItems = 0;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        int row = gt::FindRow(list, "a_alpha.exe");
        gt::ClickCell(list, row, kAction);
        selectedWithoutCombo = gt::InPlaceCombo(list) == nullptr && gt::SelectedItem(list) == row;
        gt::ClickCell(list, row, kAction);
        HWND combo = gt::InPlaceCombo(list);
        openedOnSecond = combo != nullptr;
        if (!combo)
            return;
        comboText = gt::TitleOf(combo);
        comboItems = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
        gt::Settle();
        gt::SaveWindowsScreenshot({dialog, gt::HelpWindowOf(dialog, "Programs Help")},
                                  "programs-dialog-inplace-list-open");
        pickWorked = gt::PickFromCombo(combo, 2);
        gt::Settle();
        cellAfter = gt::InPlaceCombo(list) ? "<combo still open>" : gt::CellText(list, row, kAction);
        gt::Click(dialog, IDC_LIST_SAVE);
    });
    driver.Answer({IDOK});
    Run(driver, 0);
    EXPECT_TRUE(selectedWithoutCombo);
    EXPECT_TRUE(openedOnSecond);
    EXPECT_EQ(comboText, "Stop");  // the cell's own action is preselected
    EXPECT_EQ(comboItems, 3);
    EXPECT_TRUE(pickWorked);
    EXPECT_EQ(cellAfter, "Stop & Restart");
    EXPECT_EQ(Stored("a_alpha.exe"), "Stop & Restart|C:\\nowhere\\a_alpha.exe");
}

// Escape and Enter go to the drop-down, never to the dialog as Cancel or OK.
TEST_F(ActionList, EscapeKeepsTheTextEnterCommitsAndNeitherClosesTheDialog)
{
    gt::GuiDriver driver;
    std::string afterEscape, afterEnter;
    bool comboGoneAfterEscape = false;
    int row = -1;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        row = gt::FindRow(list, "a_beta.exe");
        gt::ClickCell(list, row, kAction);
        gt::ClickCell(list, row, kAction);
        HWND combo = gt::InPlaceCombo(list);
        ASSERT_NE(combo, nullptr);
        ::PostMessageA(combo, WM_KEYDOWN, VK_ESCAPE, 1);  // handled by the dialog's modal loop
    });
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        comboGoneAfterEscape = gt::InPlaceCombo(list) == nullptr;
        afterEscape = gt::CellText(list, row, kAction);
        gt::ClickCell(list, row, kAction);
        HWND combo = gt::InPlaceCombo(list);
        ASSERT_NE(combo, nullptr);
        ::SendMessageA(combo, CB_SETCURSEL, 1, 0);  // "Stop", as the arrow keys select it
        ::PostMessageA(combo, WM_KEYDOWN, VK_RETURN, 1);
    });
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        afterEnter = gt::InPlaceCombo(list) ? "<combo still open>" : gt::CellText(list, row, kAction);
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    // Choosing "Stop" was a change: the close box asks, and No keeps the profile.
    driver.Answer({IDNO});
    Run(driver, 1);
    EXPECT_TRUE(comboGoneAfterEscape);
    EXPECT_EQ(afterEscape, "Stop & Restart");
    EXPECT_EQ(afterEnter, "Stop");
    EXPECT_EQ(Stored("a_beta.exe"), "Stop & Restart|C:\\nowhere\\a_beta.exe");
}

TEST_F(ActionList, ClickElsewhereLeavesTheCellAsItWas)
{
    gt::GuiDriver driver;
    std::string cell;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        int row = gt::FindRow(list, "a_beta.exe");
        gt::ClickCell(list, row, kAction);
        gt::ClickCell(list, row, kAction);
        ASSERT_NE(gt::InPlaceCombo(list), nullptr);
        gt::ClickCell(list, gt::FindRow(list, "a_gamma.exe"), 0);
        cell = gt::InPlaceCombo(list) ? "<combo still open>" : gt::CellText(list, row, kAction);
        gt::Click(dialog, IDC_LIST_SAVE);
    });
    driver.Answer({IDOK});
    Run(driver, 0);
    EXPECT_EQ(cell, "Stop & Restart");
    EXPECT_EQ(Stored("a_beta.exe"), "Stop & Restart|C:\\nowhere\\a_beta.exe");
}

// A column narrower than 10 pixels cannot be edited, and the click is no change.
TEST_F(ActionList, NarrowColumnOpensNothingAndIsNoChange)
{
    gt::GuiDriver driver;
    bool opened = true;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, kAction, 9);
        int row = gt::FindRow(list, "a_alpha.exe");
        gt::ClickCell(list, row, kAction);
        gt::ClickCell(list, row, kAction);
        opened = gt::InPlaceCombo(list) != nullptr;
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    Run(driver, 0);
    EXPECT_FALSE(opened);
}

class ActionListLong : public ActionList {
protected:
    ActionListLong() { m_extraRows = 60; }
};

TEST_F(ActionListLong, ScrollingEndsTheEdit)
{
    gt::GuiDriver driver;
    std::string cell;
    int topBefore = -1, topAfter = -1;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        int row = gt::FindRow(list, "a_alpha.exe");
        gt::ClickCell(list, row, kAction);
        gt::ClickCell(list, row, kAction);
        ASSERT_NE(gt::InPlaceCombo(list), nullptr);
        topBefore = static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        ::SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);  // what the scroll bar sends
        gt::Settle();
        topAfter = static_cast<int>(::SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        cell = gt::InPlaceCombo(list) ? "<combo still open>" : gt::CellText(list, row, kAction);
        gt::Command(dialog, IDCANCEL);
    });
    Run(driver, 0);  // nothing was chosen: Escape on the dialog asks nothing
    EXPECT_EQ(cell, "Stop");
    EXPECT_EQ(topAfter, topBefore + 1);
}

// Label editing of column 0 renames the row, refusing a name holding "="; Save writes the new key.
TEST_F(ActionList, LabelEditOfTheModuleIsSavedAsTheNewKey)
{
    gt::GuiDriver driver;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND list = List(dialog);
        int row = gt::FindRow(list, "a_gamma.exe");
        ::SetFocus(list);
        HWND edit = reinterpret_cast<HWND>(::SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(row), 0));
        ::SetWindowTextA(edit, "a=b.exe");
        ::SetFocus(dialog);
        gt::Settle();
        ::SetFocus(list);
        edit = reinterpret_cast<HWND>(::SendMessageA(list, LVM_EDITLABELA, static_cast<WPARAM>(row), 0));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(::SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 255);  // what a key can hold
        ::SetWindowTextA(edit, "a_renamed.exe");
        ::SetFocus(dialog);  // the edit ends when it loses the focus
        gt::Settle();
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    driver.Answer({IDOK, IDYES, IDOK});  // the refusal; save the rename when asked
    Run(driver, 1);
    EXPECT_EQ(Stored("a_renamed.exe"), "No Action|C:\\nowhere\\a_gamma.exe");
    EXPECT_EQ(Stored("a_gamma.exe"), "<missing>");
}

TEST_F(ActionList, HelpWindowStaysDockedOnResizeAndMove)
{
    gt::GuiDriver driver;
    RECT dialogRect = {}, helpRect = {}, helpBefore = {};
    RECT afterMoveDialog = {}, afterMoveHelp = {}, afterMovingHelp = {};
    RECT proposed = {};
    bool found = false;
    driver.Step(kPrograms, [&](HWND dialog) {
        HWND help = gt::HelpWindowOf(dialog, "Programs Help");
        found = help != nullptr && ::IsWindowVisible(help);
        if (!found)
            return;
        ::GetWindowRect(help, &helpBefore);
        ::SetWindowPos(dialog, nullptr, 40, 30, 560, 420, SWP_NOZORDER);
        gt::Settle();
        ::GetWindowRect(dialog, &dialogRect);
        ::GetWindowRect(help, &helpRect);
        gt::SaveWindowScreenshot(dialog, "programs-dialog-resized");
        ::SetWindowPos(dialog, nullptr, 120, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        gt::Settle();
        ::GetWindowRect(dialog, &afterMoveDialog);
        ::GetWindowRect(help, &afterMoveHelp);
        // While dragged, the help window follows the proposed rectangle.
        proposed = {200, 100, 760, 520};
        ::SendMessageA(dialog, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
        ::GetWindowRect(help, &afterMovingHelp);
        ::PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    Run(driver, 0);
    ASSERT_TRUE(found);
    EXPECT_EQ(helpRect.left, dialogRect.right);
    EXPECT_EQ(helpRect.top, dialogRect.top);
    EXPECT_EQ(helpRect.bottom - helpRect.top, dialogRect.bottom - dialogRect.top);
    EXPECT_EQ(helpRect.right - helpRect.left, helpBefore.right - helpBefore.left);
    EXPECT_EQ(afterMoveHelp.left, afterMoveDialog.right);
    EXPECT_EQ(afterMoveHelp.top, afterMoveDialog.top);
    EXPECT_EQ(afterMovingHelp.left, proposed.right);
    EXPECT_EQ(afterMovingHelp.top, proposed.top);
}

}  // namespace
