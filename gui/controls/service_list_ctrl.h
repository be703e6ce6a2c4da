// CServiceListCtrl: the report-view list of the Programs and Services dialogs. One
// column (m_editColumn) holds an action that the user changes with an in-place
// drop-down (CInPlaceList): the first click on the cell selects and focuses the row,
// the next opens the drop-down. The end-of-edit notification comes back to this
// control (reflected by the dialog) and is applied here, as are the control's own
// label edits of column 0. A row whose action is fixed (one Windows needs) opens no
// drop-down: a click on its action cell tells the owner instead.
#pragma once

#include "framework/list_ctrl.h"

#include <functional>
#include <string>
#include <vector>

class CInPlaceList;

class CServiceListCtrl : public CListCtrl {
public:
    CServiceListCtrl() = default;
    ~CServiceListCtrl() override = default;

    // Set whenever the user gives a cell another text (an action or a new name); the
    // owner asks about unsaved changes while it is set and clears it after saving.
    bool m_modified = false;
    int m_editColumn = 0;
    // Set by the owner: whether a row is one Windows needs, and what a click on such a
    // row's action cell does (the owner explains it in its help window).
    std::function<bool(int row)> m_isNeverStopRow;
    std::function<void(int row)> m_onNeverStopClick;
    // Set by the owner: whether a row may take a new name from label editing; false
    // leaves the row as it was (the owner has said why).
    std::function<bool(int row, const std::string& name)> m_acceptRename;

    // The row under a point in client coordinates, or -1; *column gets the column
    // (0 when nothing is hit).
    int HitTestCell(POINT point, int* column) const;
    // Lays a CInPlaceList over the cell; null when the cell cannot be edited.
    CInPlaceList* OpenActionList(int row, int column, const std::vector<std::string>& items,
                                 int initialSelection);

    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnLeftButtonDown(int row, int column, bool wasFocused);
    std::vector<int> ColumnWidths() const;
};
