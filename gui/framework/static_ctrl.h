// CStatic: static controls (text, icons).
#pragma once

#include "framework/wnd.h"

class CStatic : public CWnd {
public:
    CStatic() = default;
    explicit CStatic(HWND hwnd) : CWnd(hwnd) {}

    HICON SetIcon(HICON icon) const
    {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
};
