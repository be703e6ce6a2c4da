// CButton: push buttons, check boxes and radio buttons.
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
    void SetButtonStyle(UINT style, bool redraw = true) const
    {
        SendMessage(BM_SETSTYLE, style, redraw ? TRUE : FALSE);
    }
    HICON SetIcon(HICON icon) const
    {
        return reinterpret_cast<HICON>(SendMessage(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
    }
};
