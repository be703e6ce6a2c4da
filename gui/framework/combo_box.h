// CComboBox: combo-box control.
#pragma once

#include "framework/wnd.h"

#include <string>

class CComboBox : public CWnd {
public:
    CComboBox() = default;
    explicit CComboBox(HWND hwnd) : CWnd(hwnd) {}

    int AddString(const char* text) const { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, const char* text) const { return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text))); }
    int DeleteString(int index) const { return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    int FindStringExact(int start, const char* text) const { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    int SelectString(int start, const char* text) const { return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text))); }
    std::string GetLBText(int index) const;
    void ShowDropDown(bool show = true) const { SendMessage(CB_SHOWDROPDOWN, show ? TRUE : FALSE); }
    bool GetDroppedState() const { return SendMessage(CB_GETDROPPEDSTATE) != 0; }
    void LimitText(int chars) const { SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(chars)); }
};
