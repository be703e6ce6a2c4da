// CActionListDlg: what the Programs and Services dialogs share. Both show a
// CServiceListCtrl whose action column the user edits, a docked CListHelpDlg, the
// Reset, Running and Save buttons, balloon tool tips, a remembered rectangle and the
// question about unsaved changes. The derived dialog fills the list, writes its
// section and supplies the help texts.
//
// "Running" is a view: rows that it hides are kept aside with their texts and go back
// into the list when it is switched off; Reset and Save include them.
#pragma once

#include "controls/icon_button.h"
#include "dialogs/list_help_dlg.h"
#include "controls/service_list_ctrl.h"
#include "framework/dialog.h"
#include "framework/control_layout.h"

#include <memory>
#include <string>
#include <vector>

class CActionListDlg : public CDialog {
public:
    struct Texts {
        const char* windowSection;  // section of the window-position file
        const char* dialogName;     // "Programs": tool tips titled "Zephlaunch - Programs"
        const char* helpTitle;      // "Programs Help"
        const char* resetToolTip;
        const char* runningToolTip;
        const char* resetQuestion;
    };
    ~CActionListDlg() override;

    // For the tests and the owner: the list, the help window and the Running state.
    CServiceListCtrl& List() { return m_list; }
    CListHelpDlg* HelpWindow() const { return m_help.get(); }
    bool RunningOnly() const { return m_runningOnly != 0; }
    int HiddenRowCount() const { return static_cast<int>(m_hiddenRows.size()); }

protected:
    // A row while Running hides it: its cell texts, item data and image.
    struct HiddenRow {
        std::vector<std::string> cells;
        LPARAM data = 0;
        int image = 0;
    };

    CActionListDlg(UINT templateId, HWND parent, const Texts& texts);

    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT code, UINT id, HWND control) override;
    bool OnNotify(UINT id, NMHDR* header, LRESULT* result) override;
    bool OnSize(UINT type, int cx, int cy) override;
    bool OnClose() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnDestroy() override;

    // Set-up steps of the derived dialog.
    virtual void AddColumns() = 0;     // and sets m_list.m_editColumn
    virtual void AddExtraButtons() {}  // icons of its own buttons
    virtual void AddExtraToolTips(std::vector<ToolTipEntry>*) {}
    virtual bool OpenData() { return true; }  // false: the dialog has ended
    virtual bool FillList() = 0;              // false: the dialog has ended
    virtual bool IsRunningRow(int row) const = 0;
    // A row Windows needs: it shows "No Action" and offers nothing else; its help text
    // says why (the derived OnHotTrack puts that line first).
    virtual bool IsNeverStopRow(int) const { return false; }
    virtual void OnHotTrack(int row) = 0;
    virtual bool OnListNotify(NMHDR*, LRESULT*) { return false; }  // other notifications of the list
    // Writes the section from the rows (visible and hidden); false after a failure was shown.
    virtual bool WriteSection() = 0;
    virtual const char* SavedMessage() const = 0;
    virtual void ReleaseRows() {}  // frees what item data points to
    // A column whose text the list asks the dialog for when it shows it (a cell set to
    // LPSTR_TEXTCALLBACK): Running keeps it as such instead of reading it.
    virtual bool IsDeferredColumn(int) const { return false; }
    virtual void CloseData() {}

    int ActionColumn() const { return m_list.m_editColumn; }
    void SetHelpText(const std::string& text) const;
    void ResetActions();
    void Save();
    void Close();
    void FinishClose(INT_PTR result);  // the close steps, once

    CServiceListCtrl m_list;
    std::unique_ptr<CListHelpDlg> m_help;
    int m_runningOnly = 0;
    CIconButton m_resetButton;
    CIconButton m_saveButton;
    CIconButton m_runningButton;
    std::vector<HiddenRow> m_hiddenRows;

private:
    void CaptureLayout();
    void ApplyLayout();
    void ApplyRunningView();
    void RestoreHiddenRows();
    void ShowNeverStopRowsAsNoAction();
    void Dock() const;

    Texts m_texts;
    CControlLayout m_layout;
    bool m_closed = false;
};

// The whole section (grown until it fits, so nothing past 32767 bytes is lost), as
// GetPrivateProfileSectionA returns it.
std::vector<char> ReadWholeSection(const char* section, const char* file);
