// CListHelpDlg: the modeless help window of the Programs and Services dialogs, a tool
// window with one read-only text that its owner keeps docked against its right edge
// (DockHelpWindow). The user can neither close nor resize it.
#pragma once

#include "framework/button.h"
#include "framework/edit.h"
#include "framework/dialog.h"
#include "gui/logic/anchored_layout.h"

#include <windows.h>

class CListHelpDlg : public CDialog {
public:
    explicit CListHelpDlg(HWND owner);
    ~CListHelpDlg() override = default;

    bool Create() { return CDialog::Create(m_parent); }
    void SetHelpText(const char* text) const { SetDlgItemText(kTextId, text); }
    std::string GetHelpText() const { return GetDlgItemText(kTextId); }

    static const UINT kTemplateId = 136;
    static const int kTextId = 1028;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    bool OnSize(UINT type, int cx, int cy) override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    void ApplyLayout();

    CEdit m_text;
    gui_logic::AnchoredLayout m_layout;
    bool m_layoutRecorded = false;
};

// The owner's docking of its help window: at the owner's right edge, as high as the
// owner (after a resize and when the owner opens), keeping the help window's width.
void DockHelpWindow(HWND owner, HWND help);
// While the owner is dragged: to the right edge of the proposed rectangle.
void DockHelpWindowWhileMoving(const RECT& proposed, HWND help);
