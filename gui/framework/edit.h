// CEdit: edit controls.
#pragma once

#include "framework/wnd.h"

class CEdit : public CWnd {
public:
    CEdit() = default;
    explicit CEdit(HWND hwnd) : CWnd(hwnd) {}

    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void LimitText(int chars) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
    void SetReadOnly(bool readOnly = true) const { SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
};
