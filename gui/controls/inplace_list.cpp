#include "controls/inplace_list.h"

#include <commctrl.h>

CInPlaceList::CInPlaceList(int row, int column, const std::vector<std::string>& items, int initialSelection)
    : m_row(row), m_column(column), m_items(items), m_initialSelection(initialSelection)
{}

bool CInPlaceList::Create(DWORD style, const RECT& rect, HWND list, int id)
{
    // A window that fails during creation is destroyed before CreateEx returns; the
    // object then stays for the caller to delete.
    m_creating = true;
    bool created = CreateEx(0, WC_COMBOBOXA, "", style, rect, list, static_cast<UINT_PTR>(id));
    m_creating = false;
    return created && IsWindow();
}

void CInPlaceList::OnCreate()
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (const std::string& item : m_items)
        AddString(item.c_str());
    SetCurSel(m_initialSelection);
    SetFocus();
}

bool CInPlaceList::PreTranslateMessage(MSG* msg)
{
    // Enter and Escape belong to the drop-down; the dialog must not take them as OK or Cancel.
    if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
        ::TranslateMessage(msg);
        ::DispatchMessageA(msg);
        return true;
    }
    return CComboBox::PreTranslateMessage(msg);
}

bool CInPlaceList::OnChildNotify(UINT msg, WPARAM wp, LPARAM, LRESULT* result)
{
    if (msg == WM_COMMAND && HIWORD(wp) == CBN_CLOSEUP) {
        // Picking an entry from the dropped list ends the edit at once.
        ::SetFocus(GetParent());
        *result = 0;
        return true;
    }
    return false;
}

void CInPlaceList::EndEdit()
{
    if (m_ended)
        return;
    m_ended = true;
    // Nothing selected (the cell held no action of the list and none was chosen): the
    // cell keeps its text, as after Escape.
    const bool chosen = !m_cancelled && GetCurSel() != CB_ERR;
    std::string text = GetWindowText();
    HWND list = GetParent();
    NMLVDISPINFOA info = {};
    info.hdr.hwndFrom = list;
    info.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item.mask = LVIF_TEXT;
    info.item.iItem = m_row;
    info.item.iSubItem = m_column;
    info.item.pszText = chosen ? &text[0] : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size());
    ::SendMessageA(::GetParent(list), WM_NOTIFY, static_cast<WPARAM>(::GetDlgCtrlID(list)),
                   reinterpret_cast<LPARAM>(&info));
    PostMessage(WM_CLOSE);
}

LRESULT CInPlaceList::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        LRESULT result = Default(msg, wp, lp);
        if (result == -1)
            return -1;
        OnCreate();
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = Default(msg, wp, lp);
        EndEdit();
        return result;
    }
    case WM_CHAR:
        if (wp == VK_ESCAPE) {
            m_cancelled = true;
            ::SetFocus(GetParent());
            return 0;
        }
        if (wp == VK_RETURN) {
            ::SetFocus(GetParent());
            return 0;
        }
        return Default(msg, wp, lp);
    case WM_CLOSE:
        // A child window is not closed by the default handling; the edit is over.
        DestroyWindow();
        return 0;
    default:
        return Default(msg, wp, lp);
    }
}

void CInPlaceList::PostNcDestroy()
{
    if (!m_creating)
        delete this;
}
