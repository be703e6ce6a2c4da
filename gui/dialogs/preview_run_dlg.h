// CPreviewRunDlg: shows what a run of the current profile would do ("zephrun.exe
// --dry-run" output) in a read-only text window.
#pragma once

#include "framework/dialog.h"

#include <string>

class CPreviewRunDlg : public CDialog {
public:
    CPreviewRunDlg();

    std::string m_text;     // the controller's output, set by the caller
    std::string m_caption;  // empty: the template's "Preview run"

protected:
    BOOL OnInitDialog() override;
};
