// CEditCmdLineDlg: edits the command line and the delay of one auto-start program.
// The caller sets both members, runs the dialog and reads them back after IDOK.
#pragma once

#include "controls/icon_button.h"
#include "framework/dialog.h"
#include "framework/tooltip_ctrl.h"

#include <string>

class CEditCmdLineDlg : public CDialog {
public:
    explicit CEditCmdLineDlg(HWND parent = nullptr);

    std::string m_commandLine;  // at most 255 characters
    unsigned m_delay = 0;       // seconds, 0 to 900
    CToolTipCtrl m_toolTip;
    CIconButton m_saveButton;

    bool PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};
