// CImageList: owns one image list (destroyed with the object unless detached).
#pragma once

#include <windows.h>
#include <commctrl.h>

class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }

    HIMAGELIST m_hImageList = nullptr;

    bool Create(int cx, int cy, UINT flags, int initial, int grow);
    bool DeleteImageList();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST Detach();

    int Add(HICON icon) const { return ImageList_AddIcon(m_hImageList, icon); }
    int Add(HBITMAP bitmap, COLORREF mask) const { return ImageList_AddMasked(m_hImageList, bitmap, mask); }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    COLORREF SetBkColor(COLORREF color) const { return ImageList_SetBkColor(m_hImageList, color); }
    bool Draw(HDC dc, int index, POINT pt, UINT style) const
    {
        return ImageList_Draw(m_hImageList, index, dc, pt.x, pt.y, style) != FALSE;
    }
    HICON ExtractIcon(int index) const { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }
};
