// CNewProfileDlg: asks for the name, description and kind of a new profile. It only
// collects and checks the answers; the main window creates the file.
#pragma once

#include "controls/icon_button.h"
#include "framework/dialog.h"

#include <string>

class CNewProfileDlg : public CDialog {
public:
    enum { kNoKind = 0, kBlankProfile = 1, kCopyOfCurrent = 2 };

    CNewProfileDlg();

    std::string m_profileName;
    std::string m_description;
    CIconButton m_saveButton;
    int m_profileKind = kNoKind;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT code, UINT id, HWND control) override;
    void OnOK() override;
};
