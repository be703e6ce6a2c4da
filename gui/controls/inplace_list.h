// CInPlaceList: the drop-down list that CServiceListCtrl lays over an action cell. It
// takes the focus when created; losing the focus ends the edit: it sends the
// end-of-edit notification (LVN_ENDLABELEDITA with the chosen text, or no text when
// Escape cancelled it) to the list's parent and closes itself. The object owns itself
// and is deleted when its window is gone.
#pragma once

#include "framework/combo_box.h"

#include <string>
#include <vector>

class CInPlaceList : public CComboBox {
public:
    CInPlaceList(int row, int column, const std::vector<std::string>& items, int initialSelection);
    ~CInPlaceList() override = default;

    // Creates the window as a child of the list, bound from its first message on; its
    // WM_CREATE sets it up (the list's font, the items, the initial selection, the focus).
    // False when it could not be created: the object is then the caller's to delete.
    bool Create(DWORD style, const RECT& rect, HWND list, int id);

    bool PreTranslateMessage(MSG* msg) override;
    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PostNcDestroy() override;

private:
    void OnCreate();
    void EndEdit();

    int m_row;
    int m_column;
    std::vector<std::string> m_items;
    int m_initialSelection;
    bool m_cancelled = false;
    bool m_ended = false;
    bool m_creating = false;
};
