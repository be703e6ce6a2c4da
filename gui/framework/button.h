// CButton and CStatic: button and static controls.
#pragma once

#include "framework/wnd.h"

class CButton : public CWnd {
public:
    CButton() = default;
    explicit CButton(HWND hwnd) : CWnd(hwnd) {}

    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    UINT GetButtonStyle() const { return static_cast<UINT>(GetStyle() & 0xff); }
    void SetButtonStyle(UINT style, bool redraw = true) const { SendMessage(BM_SETSTYLE, style, redraw ? TRUE : FALSE); }
    HICON SetIcon(HICON icon) const { return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon))); }
};

class CStatic : public CWnd {
public:
    CStatic() = default;
    explicit CStatic(HWND hwnd) : CWnd(hwnd) {}

    HICON SetIcon(HICON icon) const { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon))); }
};

class CEdit : public CWnd {
public:
    CEdit() = default;
    explicit CEdit(HWND hwnd) : CWnd(hwnd) {}

    void SetSel(int start, int end) const { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void LimitText(int chars) const { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
    void SetReadOnly(bool readOnly = true) const { SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
};
