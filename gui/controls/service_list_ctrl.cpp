#include "controls/service_list_ctrl.h"

#include "controls/inplace_list.h"
#include "framework/header_ctrl.h"
#include "gui/logic/action_choice.h"
#include "gui/logic/cell_geometry.h"
#include "profile/profile_keys.h"

#include <windowsx.h>

namespace {

const int kInPlaceListId = 101;

}  // namespace

std::vector<int> CServiceListCtrl::ColumnWidths() const
{
    std::vector<int> widths;
    CHeaderCtrl header(GetHeaderCtrl());
    int columns = header.GetItemCount();
    for (int column = 0; column < columns; ++column)
        widths.push_back(GetColumnWidth(column));
    return widths;
}

int CServiceListCtrl::HitTestCell(POINT point, int* column) const
{
    int row = HitTest(point);
    if (column)
        *column = 0;
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT)
        return row;

    int first = GetTopIndex();
    int last = first + GetCountPerPage();
    if (last > GetItemCount())
        last = GetItemCount();
    const std::vector<int> widths = ColumnWidths();
    for (int r = first; r <= last; ++r) {
        RECT bounds = {};
        if (!GetItemRect(r, &bounds, LVIR_BOUNDS))
            continue;
        if (!::PtInRect(&bounds, point))
            continue;
        int hit = gui_logic::ColumnAtX(point.x, bounds.left, widths);
        if (hit < 0)
            continue;
        if (column)
            *column = hit;
        return r;
    }
    return -1;
}

CInPlaceList* CServiceListCtrl::OpenActionList(int row, int column, const std::vector<std::string>& items,
                                               int initialSelection)
{
    if (!EnsureVisible(row, true))
        return nullptr;
    RECT bounds = {};
    RECT client = {};
    if (!GetItemRect(row, &bounds, LVIR_BOUNDS) || !GetClientRect(&client))
        return nullptr;
    gui_logic::InPlacePlacement place = gui_logic::PlaceInPlaceList(bounds.left, bounds.top, bounds.bottom,
                                                                    ColumnWidths(), column, client.right);
    if (!place.editable)
        return nullptr;
    if (place.scroll)
        Scroll(place.scrollBy, 0);

    const int rowHeight = bounds.bottom - bounds.top;
    const int columnWidth = GetColumnWidth(column);
    auto* combo = new CInPlaceList(row, column, items, initialSelection);
    RECT rect = {place.left, place.top, place.right, place.bottom};
    if (!combo->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_DROPDOWNLIST, rect, m_hWnd,
                       kInPlaceListId)) {
        delete combo;  // never bound to a window, so nothing else deletes it
        return nullptr;
    }
    combo->SetItemHeight(-1, static_cast<UINT>(rowHeight));
    combo->SetHorizontalExtent(static_cast<UINT>(columnWidth + 50));
    combo->SetDroppedWidth(static_cast<UINT>(columnWidth + 50));
    combo->SetWindowPos(nullptr, 0, 0, place.right - place.left, 1500, SWP_NOMOVE | SWP_NOZORDER);
    return combo;
}

void CServiceListCtrl::OnLeftButtonDown(int row, int column, bool wasFocused)
{
    if (row < 0 || column != m_editColumn)
        return;
    const bool neverStop = m_isNeverStopRow && m_isNeverStopRow(row);
    if (neverStop && m_onNeverStopClick)
        m_onNeverStopClick(row);
    if (!wasFocused) {
        SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        return;
    }
    if (!(GetStyle() & LVS_EDITLABELS))
        return;
    gui_logic::ActionChoices choices = gui_logic::ActionChoicesForCell(GetItemText(row, column), neverStop);
    if (choices.fixed)
        return;  // nothing to choose, and nothing changed
    OpenActionList(row, column, choices.items, choices.initialSelection);
}

bool CServiceListCtrl::OnChildNotify(UINT msg, WPARAM, LPARAM lp, LRESULT* result)
{
    if (msg != WM_NOTIFY)
        return false;
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (header->code == LVN_BEGINLABELEDITA || header->code == LVN_BEGINLABELEDITW) {
        // A new name takes no more than a profile key can hold.
        HWND edit = reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL));
        if (edit)
            ::SendMessageA(edit, EM_LIMITTEXT, profile::kMaxKeyLength, 0);
        *result = FALSE;  // the edit goes ahead
        return true;
    }
    if (header->code != LVN_ENDLABELEDITA)
        return false;
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(lp);
    // Only a text that differs from the cell's is a change: opening the drop-down and
    // leaving it as it came changes nothing.
    if (info->item.pszText && GetItemText(info->item.iItem, info->item.iSubItem) != info->item.pszText) {
        bool rename = header->idFrom != static_cast<UINT_PTR>(kInPlaceListId);
        if (!rename || !m_acceptRename || m_acceptRename(info->item.iItem, info->item.pszText)) {
            SetItemText(info->item.iItem, info->item.iSubItem, info->item.pszText);
            m_modified = true;
        }
    }
    *result = 0;
    return true;
}

LRESULT CServiceListCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_LBUTTONDOWN: {
        // Whether the row had the focus before this click decides between selecting
        // it and opening the drop-down: the list's own handling focuses it.
        int column = 0;
        int row = HitTestCell(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, &column);
        bool wasFocused = row >= 0 && (GetItemState(row, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
        LRESULT result = Default(msg, wp, lp);
        if (IsWindow())
            OnLeftButtonDown(row, column, wasFocused);
        return result;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Scrolling ends an open edit first: the drop-down commits when it loses the focus.
        if (::GetFocus() != m_hWnd)
            SetFocus();
        return Default(msg, wp, lp);
    default:
        return Default(msg, wp, lp);
    }
}
