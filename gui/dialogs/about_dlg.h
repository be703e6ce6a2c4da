// CAboutDlg: the About box. Shows the version and the rights notice, and links to the
// support e-mail, the product web site and the file library where the latest version
// is listed; the two icon buttons open the same e-mail and web links as the texts
// beside them.
#pragma once

#include "controls/hyperlink_static.h"
#include "controls/icon_button.h"
#include "framework/button.h"
#include "framework/dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnCommand(UINT code, UINT id, HWND control) override;

private:
    CButton m_okButton;
    CHyperlinkStatic m_emailLink;
    CHyperlinkStatic m_webLink;
    CIconButton m_webButton;
    CIconButton m_emailButton;
    CHyperlinkStatic m_libraryLink;  // the tool tips are the dialog's own (CDialog)
};
