// CHeaderCtrl: the header control of a report-view list (CListCtrl::GetHeaderCtrl).
#pragma once

#include "framework/wnd.h"

#include <commctrl.h>

class CHeaderCtrl : public CWnd {
public:
    CHeaderCtrl() = default;
    explicit CHeaderCtrl(HWND hwnd) : CWnd(hwnd) {}

    int GetItemCount() const { return static_cast<int>(SendMessage(HDM_GETITEMCOUNT)); }
    bool GetItem(int index, HDITEMA* item) const
    {
        return SendMessage(HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)) != 0;
    }
    bool SetItem(int index, HDITEMA* item) const
    {
        return SendMessage(HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)) != 0;
    }
    // Rectangle of one column's header, in the header's client coordinates.
    bool GetItemRect(int index, RECT* rect) const
    {
        return SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)) != 0;
    }
    // Height of the header in pixels (0 when it has no window).
    int GetHeight() const
    {
        RECT rect = {};
        return m_hWnd && ::GetWindowRect(m_hWnd, &rect) ? rect.bottom - rect.top : 0;
    }
};
