// Dialog data exchange: DDX_* move a value between a control and a member in the
// direction of the exchange; DDV_* check a value read from a control and, when it is
// out of range, show the standard message and fail the exchange.
#pragma once

#include "framework/wnd.h"

#include <string>

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_dialog(dialog), m_saveAndValidate(saveAndValidate)
    {}

    CDialog* m_dialog;
    bool m_saveAndValidate;  // true: controls to members (with checks)
    bool m_failed = false;   // a check failed; the rest of the exchange is skipped

    HWND PrepareCtrl(int id);  // the control, remembered for the focus after a failure
    void Fail();               // marks the exchange failed and focuses the last control
    HWND LastControl() const { return m_lastControl; }

private:
    HWND m_lastControl = nullptr;
};

// Binds a control object to control id (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, unsigned& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Radio(CDataExchange* dx, int firstId, int& value);  // index in the group, -1 none
void DDX_CBIndex(CDataExchange* dx, int id, int& value);
// Loading selects the first item that begins with the value, ignoring case ("Below"
// selects "Below Normal"); with no such item the selection is left alone (a combo box
// with an edit field shows the value instead). Saving reads the shown text.
void DDX_CBString(CDataExchange* dx, int id, std::string& value);

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* dx, unsigned value, unsigned minValue, unsigned maxValue);
void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars);
