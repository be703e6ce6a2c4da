// CComboBox: combo-box control.
#pragma once

#include "framework/wnd.h"

#include <string>

class CComboBox : public CWnd {
public:
    CComboBox() = default;
    explicit CComboBox(HWND hwnd) : CWnd(hwnd) {}

    int AddString(const char* text) const
    {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    int InsertString(int index, const char* text) const
    {
        return static_cast<int>(
            SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
    }
    int DeleteString(int index) const
    {
        return static_cast<int>(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index)));
    }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const
    {
        return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
    }
    int FindStringExact(int start, const char* text) const
    {
        return static_cast<int>(
            SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
    }
    int SelectString(int start, const char* text) const
    {
        return static_cast<int>(
            SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text)));
    }
    std::string GetLBText(int index) const;
    void ShowDropDown(bool show = true) const { SendMessage(CB_SHOWDROPDOWN, show ? TRUE : FALSE); }
    bool GetDroppedState() const { return SendMessage(CB_GETDROPPEDSTATE) != 0; }
    void LimitText(int chars) const { SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(chars)); }
    // index -1: the selection field; otherwise the list items (all of them unless the
    // combo box is owner-drawn with variable heights). CB_ERR on failure.
    int SetItemHeight(int index, UINT height) const
    {
        return static_cast<int>(
            SendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(index), static_cast<LPARAM>(height)));
    }
    int GetItemHeight(int index) const
    {
        return static_cast<int>(SendMessage(CB_GETITEMHEIGHT, static_cast<WPARAM>(index)));
    }
    // Width in pixels the list can be scrolled horizontally (with WS_HSCROLL).
    void SetHorizontalExtent(UINT extent) const { SendMessage(CB_SETHORIZONTALEXTENT, extent); }
    UINT GetHorizontalExtent() const { return static_cast<UINT>(SendMessage(CB_GETHORIZONTALEXTENT)); }
    // Minimum width in pixels of the drop-down list; CB_ERR on failure.
    int SetDroppedWidth(UINT width) const { return static_cast<int>(SendMessage(CB_SETDROPPEDWIDTH, width)); }
    int GetDroppedWidth() const { return static_cast<int>(SendMessage(CB_GETDROPPEDWIDTH)); }
    void SetItemData(int index, LPARAM data) const
    {
        SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), data);
    }
    LPARAM GetItemData(int index) const
    {
        return static_cast<LPARAM>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    // Adds the texts in order (the list of a combo box filled in code); false when one failed.
    bool AddStrings(const char* const* texts, int count) const;
};
