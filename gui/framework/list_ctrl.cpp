#include "framework/list_ctrl.h"

#include <vector>

int CListCtrl::InsertColumn(int index, const char* heading, int format, int width) const
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(heading);
    column.iSubItem = index;
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int index, const char* text, int image) const
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<char*>(text);
    item.iImage = image;
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListCtrl::SetItemText(int index, int subItem, const char* text) const
{
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = const_cast<char*>(text);
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

std::string CListCtrl::GetItemText(int index, int subItem) const
{
    // The list reports how much it copied; grow until the text fits.
    std::vector<char> buffer(256, '\0');
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        LRESULT copied =
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (copied < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= 65536)
            return std::string(item.pszText ? item.pszText : "");
        buffer.assign(buffer.size() * 2, '\0');
    }
}

bool CListCtrl::SetItemImage(int index, int image) const
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    return SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

int CListCtrl::GetItemImage(int index) const
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return -1;
    return item.iImage;
}

bool CListCtrl::SetItemState(int index, UINT state, UINT mask) const
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) != 0;
}

bool CListCtrl::SetItemData(int index, LPARAM data) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = data;
    return SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != 0;
}

LPARAM CListCtrl::GetItemData(int index) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return 0;
    return item.lParam;
}

int CListCtrl::HitTest(POINT pt, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    int index = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return index;
}

bool CListCtrl::GetSubItemRect(int index, int subItem, int area, RECT* rect) const
{
    rect->top = subItem;
    rect->left = area;
    return SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)) != 0;
}

bool CListCtrl::GetItemRect(int index, RECT* rect, int area) const
{
    rect->left = area;
    return SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)) != 0;
}

int CListCtrl::FindItemText(const char* text, int start) const
{
    LVFINDINFOA info = {};
    info.flags = LVFI_STRING;
    info.psz = text;
    return FindItem(&info, start);
}
