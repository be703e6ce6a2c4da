#include "support/action_lists.h"

#include "globals.h"
#include "settings_setup.h"
#include "support/gui_driver.h"
#include "support/gui_session.h"
#include "support/settings_folder.h"
#include "support/wine_harness.h"

#include <commctrl.h>

namespace gt {

void PrepareListDialogSettings(const std::string& profileIniText)
{
    PrepareApplication();
    ResetSettings();
    if (!SetUpSettingsFolders(nullptr))
        return;
    zt::WriteFileBytes(DefaultProfile(), IniText(profileIniText));
    g_showToolTips = 1;
}

int FindRow(HWND list, const std::string& text)
{
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = text.c_str();
    int row = static_cast<int>(
        ::SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    // The list's search ignores letter case; the tests want the exact text.
    return row >= 0 && CellText(list, row, 0) == text ? row : -1;
}

std::string CellText(HWND list, int row, int column)
{
    char text[1024] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

POINT CellPoint(HWND list, int row, int column)
{
    RECT rect = {};
    rect.top = column;
    rect.left = LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
    if (column == 0) {
        // Column 0's sub-item rectangle is the whole row; its own span is its width.
        int width = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
        rect.right = rect.left + width;
    }
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ::ClientToScreen(list, &point);
    return point;
}

void ClickCell(HWND list, int row, int column)
{
    // A user scrolls a row into view before clicking it.
    ::SendMessageA(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    ClickAt(list, CellPoint(list, row, column), false);
    Settle();
}

HWND InPlaceCombo(HWND list)
{
    HWND combo = ::GetDlgItem(list, 101);
    return combo && ::IsWindowVisible(combo) ? combo : nullptr;
}

bool PickFromCombo(HWND combo, int index)
{
    ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Settle(50);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (!::GetComboBoxInfo(combo, &info) || !info.hwndList || !::IsWindowVisible(info.hwndList))
        return false;
    RECT item = {};
    if (::SendMessageA(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&item))
        == LB_ERR)
        return false;
    POINT point = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(info.hwndList, &point);
    ::SetCursorPos(point.x, point.y);
    POINT client = point;
    ::ScreenToClient(info.hwndList, &client);
    LPARAM position = MAKELPARAM(client.x, client.y);
    ::PostMessageA(info.hwndList, WM_MOUSEMOVE, 0, position);
    ::PostMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, position);
    ::PostMessageA(info.hwndList, WM_LBUTTONUP, 0, position);
    Settle();
    return true;
}

void SendHotTrack(HWND dialog, HWND list, int row)
{
    NMLISTVIEW track = {};
    track.hdr.hwndFrom = list;
    track.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list));
    track.hdr.code = LVN_HOTTRACK;
    track.iItem = row;
    track.iSubItem = 0;
    ::SendMessageA(dialog, WM_NOTIFY, track.hdr.idFrom, reinterpret_cast<LPARAM>(&track));
}

namespace {

struct HelpSearch {
    HWND owner;
    const char* title;
    HWND found;
};

BOOL CALLBACK FindHelp(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<HelpSearch*>(parameter);
    if (::GetWindow(window, GW_OWNER) == search->owner && TitleOf(window) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND HelpWindowOf(HWND dialog, const char* helpTitle)
{
    HelpSearch search = {dialog, helpTitle, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindHelp, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string HelpText(HWND help)
{
    HWND edit = ::GetDlgItem(help, 1028);
    int length = ::GetWindowTextLengthA(edit);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetWindowTextA(edit, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void Settle(int milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

}  // namespace gt
