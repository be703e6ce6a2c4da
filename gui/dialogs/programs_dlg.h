// CProgramsDlg: edits [Programs] of the current profile. Lists the running programs
// (ProgramListBuilder) and the programs the profile names, each with its icon, path,
// action and whether it runs; Remove drops a row; the help window shows the version
// information of the program under the mouse, a right-click shows it for the row at
// the selection mark (errors then in a message box).
#pragma once

#include "dialogs/action_list_dlg.h"
#include "framework/image_list.h"
#include "gui/logic/version_text.h"

class CProgramsDlg : public CActionListDlg {
public:
    explicit CProgramsDlg(HWND parent = nullptr);
    ~CProgramsDlg() override;

    enum Column { kModule = 0, kPath = 1, kAction = 2, kRunning = 3 };

    // The version text of a row, or the error text with *failed set.
    std::string VersionTextOfRow(int row, gui_logic::VersionTrigger trigger, bool* failed) const;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    bool OnCommand(UINT code, UINT id, HWND control) override;
    void AddColumns() override;
    void AddExtraButtons() override;
    void AddExtraToolTips(std::vector<ToolTipEntry>* tips) override;
    bool FillList() override;
    bool IsRunningRow(int row) const override;
    bool IsNeverStopRow(int row) const override;
    void OnHotTrack(int row) override;
    bool OnListNotify(NMHDR* header, LRESULT* result) override;
    bool WriteSection() override;
    const char* SavedMessage() const override { return "Program settings have been saved."; }

private:
    void AddProfileRows();
    void SetRowIcons();
    void RemoveSelectedRow();

    CImageList m_rowImages;  // owned here: the list only shares it (LVS_SHAREIMAGELISTS)
    CIconButton m_removeButton;
};
