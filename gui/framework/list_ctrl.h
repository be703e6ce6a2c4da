// CListCtrl: list-view control.
#pragma once

#include "framework/wnd.h"

#include <commctrl.h>

#include <string>

class CListCtrl : public CWnd {
public:
    CListCtrl() = default;
    explicit CListCtrl(HWND hwnd) : CWnd(hwnd) {}

    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertColumn(int index, const char* heading, int format, int width) const;
    int InsertItem(int index, const char* text, int image = 0) const;
    bool DeleteItem(int index) const { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(index)) != 0; }
    bool DeleteAllItems() const { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    bool SetItemText(int index, int subItem, const char* text) const;
    std::string GetItemText(int index, int subItem) const;
    bool SetItemImage(int index, int image) const;
    int GetItemImage(int index) const;
    bool SetItemState(int index, UINT state, UINT mask) const;
    UINT GetItemState(int index, UINT mask) const
    {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(index), mask));
    }
    bool SetItemData(int index, LPARAM data) const;
    LPARAM GetItemData(int index) const;
    int GetNextItem(int start, UINT flags) const
    {
        return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), flags));
    }
    int GetSelectionMark() const { return static_cast<int>(SendMessage(LVM_GETSELECTIONMARK)); }
    int SetSelectionMark(int index) const
    {
        return static_cast<int>(SendMessage(LVM_SETSELECTIONMARK, 0, index));
    }
    int HitTest(POINT pt, UINT* flags = nullptr) const;
    int SubItemHitTest(LVHITTESTINFO* info) const
    {
        return static_cast<int>(SendMessage(LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(info)));
    }
    bool Arrange(UINT code) const { return SendMessage(LVM_ARRANGE, code) != 0; }
    bool EnsureVisible(int index, bool partialOk) const
    {
        return SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk ? TRUE : FALSE) != 0;
    }
    bool GetSubItemRect(int index, int subItem, int area, RECT* rect) const;
    bool GetItemRect(int index, RECT* rect, int area) const;
    int GetColumnWidth(int column) const
    {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
    }
    bool SetColumnWidth(int column, int width) const
    {
        return SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), width) != 0;
    }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    DWORD SetExtendedStyle(DWORD style) const
    {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style));
    }
    HIMAGELIST SetImageList(HIMAGELIST list, int which) const
    {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
    }
    HIMAGELIST GetImageList(int which) const
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(which)));
    }
    HWND EditLabel(int index) const
    {
        return reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELA, static_cast<WPARAM>(index)));
    }
    HWND GetHeaderCtrl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER)); }
    // The item matching info after start (-1: from the top), or -1 (LVM_FINDITEMA).
    int FindItem(LVFINDINFOA* info, int start = -1) const
    {
        return static_cast<int>(
            SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(info)));
    }
    // The first item whose column-0 text equals text (case-insensitive), or -1.
    int FindItemText(const char* text, int start = -1) const;
    UINT GetSelectedCount() const { return static_cast<UINT>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    // Scrolls by dx, dy pixels (in report view dy is rounded to whole lines).
    bool Scroll(int dx, int dy) const { return SendMessage(LVM_SCROLL, static_cast<WPARAM>(dx), dy) != 0; }
};
