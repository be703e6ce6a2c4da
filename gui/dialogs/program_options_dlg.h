// CProgramOptionsDlg: edits whether the tool tips of all windows are shown and stores
// the choice (ShowToolTips in [ProgramOptions] of the options file).
#pragma once

#include "controls/icon_button.h"
#include "framework/dialog.h"

#include <string>

class CProgramOptionsDlg : public CDialog {
public:
    CProgramOptionsDlg();

    CIconButton m_saveButton;
    int m_showToolTips = 0;     // the state chosen in the dialog
    std::string m_optionsFile;  // set by the caller (the window-position file)

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT code, UINT id, HWND control) override;
    void OnOK() override;
};
