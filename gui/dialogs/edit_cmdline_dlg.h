// CEditCmdLineDlg: edits the command line and the delay of one auto-start program.
// The caller sets both members, runs the dialog and reads them back after IDOK.
#pragma once

#include "controls/icon_button.h"
#include "framework/dialog.h"

#include <string>

class CEditCmdLineDlg : public CDialog {
public:
    explicit CEditCmdLineDlg(HWND parent = nullptr);

    std::string m_commandLine;  // at most 251 characters (gui_logic::kMaxAutoStartCommandChars)
    unsigned m_delay = 0;       // seconds, 0 to 900
    CIconButton m_saveButton;   // (the tool-tip control is CDialog's)

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
};
