#include "framework/data_exchange.h"

#include "framework/dialog.h"
#include "framework/win_app.h"
#include "gui/logic/number_text.h"

#include <string>

HWND CDataExchange::PrepareCtrl(int id)
{
    m_lastControl = ::GetDlgItem(m_dialog->m_hWnd, id);
    return m_lastControl;
}

void CDataExchange::Fail()
{
    m_failed = true;
    if (!m_lastControl)
        return;
    ::SetFocus(m_lastControl);
    char className[16] = {};
    if (::GetClassNameA(m_lastControl, className, sizeof className) && lstrcmpiA(className, "Edit") == 0)
        ::SendMessageA(m_lastControl, EM_SETSEL, 0, -1);
}

namespace {

void FailWithMessage(CDataExchange* dx, const std::string& message)
{
    AfxMessageBox(message.c_str(), MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND hwnd = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(hwnd))
        control.Attach(hwnd);
}

void DDX_Text(CDataExchange* dx, int id, std::string& value)
{
    if (dx->m_failed)
        return;
    CWnd control(dx->PrepareCtrl(id));
    if (dx->m_saveAndValidate)
        value = control.GetWindowText();
    else
        control.SetWindowText(value.c_str());
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    if (dx->m_failed)
        return;
    CWnd control(dx->PrepareCtrl(id));
    if (dx->m_saveAndValidate) {
        if (!gui_logic::ParseIntText(control.GetWindowText(), &value))
            FailWithMessage(dx, gui_logic::IntParseMessage());
    } else {
        control.SetWindowText(std::to_string(value).c_str());
    }
}

void DDX_Text(CDataExchange* dx, int id, unsigned& value)
{
    if (dx->m_failed)
        return;
    CWnd control(dx->PrepareCtrl(id));
    if (dx->m_saveAndValidate) {
        if (!gui_logic::ParseUIntText(control.GetWindowText(), &value))
            FailWithMessage(dx, gui_logic::UIntParseMessage());
    } else {
        control.SetWindowText(std::to_string(value).c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    if (dx->m_failed)
        return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_saveAndValidate)
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int firstId, int& value)
{
    if (dx->m_failed)
        return;
    HWND control = dx->PrepareCtrl(firstId);
    if (dx->m_saveAndValidate)
        value = -1;
    // The group runs from the first button to the next control with WS_GROUP.
    for (int index = 0; control; ++index) {
        if (dx->m_saveAndValidate) {
            if (::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
        if (!control || (::GetWindowLongPtrA(control, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& value)
{
    if (dx->m_failed)
        return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_saveAndValidate)
        value = static_cast<int>(::SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void DDX_CBString(CDataExchange* dx, int id, std::string& value)
{
    if (dx->m_failed)
        return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_saveAndValidate) {
        // The edit field's text, or for a drop-down list the selected item's text.
        value = CWnd(control).GetWindowText();
        return;
    }
    // The first item that begins with the value, ignoring case ("high" selects High).
    // Without one the selection stays; a combo box with an edit field shows the value.
    LRESULT index = ::SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(value.c_str()));
    if (index == CB_ERR && (::GetWindowLongPtrA(control, GWL_STYLE) & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST)
        ::SetWindowTextA(control, value.c_str());
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int minValue, int maxValue)
{
    if (!dx->m_saveAndValidate || dx->m_failed)
        return;
    if (value < minValue || value > maxValue)
        FailWithMessage(dx, gui_logic::IntRangeMessage(minValue, maxValue));
}

void DDV_MinMaxUInt(CDataExchange* dx, unsigned value, unsigned minValue, unsigned maxValue)
{
    if (!dx->m_saveAndValidate || dx->m_failed)
        return;
    if (value < minValue || value > maxValue)
        FailWithMessage(dx, gui_logic::IntRangeMessage(minValue, maxValue));
}

void DDV_MaxChars(CDataExchange* dx, const std::string& value, int maxChars)
{
    if (dx->m_failed)
        return;
    if (!dx->m_saveAndValidate) {
        if (dx->LastControl())
            ::SendMessageA(dx->LastControl(), EM_LIMITTEXT, static_cast<WPARAM>(maxChars), 0);
        return;
    }
    if (value.size() > static_cast<size_t>(maxChars))
        FailWithMessage(dx, gui_logic::MaxCharsMessage(maxChars));
}
