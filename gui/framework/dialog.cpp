#include "framework/dialog.h"

#include "framework/data_exchange.h"
#include "framework/message_filter.h"
#include "framework/win_app.h"

#include "gui/logic/dialog_init.h"
#include "gui_strings.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

// Resource type of a template's initialisation data.
const WORD kDialogInitType = 240;

// Messages whose result a dialog procedure returns itself instead of DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg)
{
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_parent(parent), m_templateId(templateId) {}

CDialog::~CDialog()
{
    if (m_hWnd && !m_modal && ::IsWindow(m_hWnd)) {
        HWND hwnd = m_hWnd;
        UnregisterHandle();
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd);
    }
}

HWND CDialog::DefaultOwner(HWND self)
{
    CWinApp* app = AfxGetApp();
    HWND main = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
    if (!main || !::IsWindow(main) || main == self)
        return nullptr;
    HWND popup = ::GetLastActivePopup(main);
    return popup && popup != self && ::IsWindowEnabled(popup) ? popup : main;
}

INT_PTR CDialog::DoModal()
{
    InstallMessageFilter();
    m_modal = true;
    HWND owner = m_parent ? m_parent : DefaultOwner();
    INT_PTR result = ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                                       &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_modal = false;
    m_hWnd = nullptr;
    return result;
}

bool CDialog::Create(HWND parent)
{
    InstallMessageFilter();
    if (parent)
        m_parent = parent;
    m_modal = false;
    HWND hwnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), m_parent,
                                     &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result)
{
    if (!m_hWnd)
        return;
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        ::DestroyWindow(m_hWnd);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_failed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

bool CDialog::OnCommand(UINT code, UINT id, HWND)
{
    if (code != BN_CLICKED)  // also a menu command (0)
        return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(msg);
    return CWnd::PreTranslateMessage(msg);
}

bool CDialog::SetUpToolTips(const char* dialogName, const ToolTipEntry* entries, std::size_t count)
{
    // A dialog object run again finds the control of its last run gone with that window.
    if (m_toolTip.m_hWnd && !m_toolTip.IsWindow())
        m_toolTip.m_hWnd = nullptr;
    if (!m_toolTip.m_hWnd && !m_toolTip.Create(m_hWnd, TTS_BALLOON))
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        HWND control = GetDlgItem(entries[i].id);
        if (control)
            m_toolTip.AddTool(control, entries[i].text);
    }
    std::string title = kAppCaption;
    if (dialogName && *dialogName)
        title = title + " - " + dialogName;
    m_toolTip.SetTitle(TTI_INFO, title.c_str());
    m_toolTip.Activate(g_showToolTips != 0);
    return true;
}

void CDialog::ActivateToolTips(bool active) const
{
    if (m_toolTip.m_hWnd)
        m_toolTip.Activate(active);
}

void CDialog::ExecuteDialogInit()
{
    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found =
        ::FindResourceA(instance, MAKEINTRESOURCEA(m_templateId), MAKEINTRESOURCEA(kDialogInitType));
    if (!found)
        return;
    HGLOBAL loaded = ::LoadResource(instance, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    DWORD size = ::SizeofResource(instance, found);
    if (!data || size == 0)
        return;
    for (const gui_logic::DialogInitEntry& entry : gui_logic::ParseDialogInit(data, size)) {
        HWND control = GetDlgItem(entry.controlId);
        if (!control)
            continue;
        UINT message = entry.message;
        if (message == gui_logic::kOldComboAddString)
            message = CB_ADDSTRING;
        else if (message == gui_logic::kOldListAddString)
            message = LB_ADDSTRING;
        if (message == CB_ADDSTRING || message == LB_ADDSTRING)
            ::SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(entry.text.c_str()));
    }
}

void CDialog::RecordLeastSize()
{
    RECT rect;
    if ((GetStyle() & WS_THICKFRAME) && ::GetWindowRect(m_hWnd, &rect))
        m_leastSize = {rect.right - rect.left, rect.bottom - rect.top};
}

bool CDialog::OnNotify(UINT, NMHDR*, LRESULT*) { return false; }
bool CDialog::OnTimer(UINT_PTR) { return false; }
bool CDialog::OnSize(UINT, int, int) { return false; }
bool CDialog::OnClose() { return false; }
bool CDialog::OnContextMenu(HWND, int, int) { return false; }
bool CDialog::OnDrawItem(UINT, DRAWITEMSTRUCT*) { return false; }
bool CDialog::OnMeasureItem(UINT, MEASUREITEMSTRUCT*) { return false; }
bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool CDialog::DispatchDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    if (ReflectToChild(m_hWnd, msg, wp, lp, result))
        return true;
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(HIWORD(wp), LOWORD(wp), reinterpret_cast<HWND>(lp)))
            return true;
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (OnNotify(static_cast<UINT>(header->idFrom), header, result))
            return true;
        break;
    }
    case WM_TIMER:
        if (OnTimer(wp))
            return true;
        break;
    case WM_SIZE:
        if (OnSize(static_cast<UINT>(wp), LOWORD(lp), HIWORD(lp)))
            return true;
        break;
    case WM_CLOSE:
        if (OnClose())
            return true;
        break;
    case WM_CONTEXTMENU:
        if (OnContextMenu(reinterpret_cast<HWND>(wp), static_cast<short>(LOWORD(lp)),
                          static_cast<short>(HIWORD(lp))))
            return true;
        break;
    case WM_DRAWITEM:
        if (OnDrawItem(static_cast<UINT>(wp), reinterpret_cast<DRAWITEMSTRUCT*>(lp))) {
            *result = TRUE;
            return true;
        }
        break;
    case WM_MEASUREITEM:
        if (OnMeasureItem(static_cast<UINT>(wp), reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) {
            *result = TRUE;
            return true;
        }
        break;
    case WM_GETMINMAXINFO:
        if (m_leastSize.cx > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize.x = m_leastSize.cx;
            info->ptMinTrackSize.y = m_leastSize.cy;
        }
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    default:
        break;
    }
    return OnMessage(msg, wp, lp, result);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CDialog* self;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, lp);
        self->RegisterHandle(hwnd);
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return FALSE;

    INT_PTR handled = FALSE;
    LRESULT result = 0;
    if (msg == WM_INITDIALOG) {
        self->ExecuteDialogInit();
        self->RecordLeastSize();
        result = self->OnInitDialog();
        handled = TRUE;
    } else {
        handled = self->DispatchDialogMessage(msg, wp, lp, &result) ? TRUE : FALSE;
    }

    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->UnregisterHandle();
        self->m_hWnd = nullptr;
        if (!self->m_modal)
            self->PostNcDestroy();
        return FALSE;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(msg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}
