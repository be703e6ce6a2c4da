#include "framework/wnd.h"

#include <commctrl.h>

#include <vector>

namespace {

// Window property that holds the bound object of a window.
const char kObjectProperty[] = "ZephlaunchWndObject";
const UINT_PTR kSubclassId = 1;

}  // namespace

CWnd& CWnd::operator=(const CWnd& other)
{
    if (this != &other && !m_registered)
        m_hWnd = other.m_hWnd;
    return *this;
}

CWnd::~CWnd()
{
    if (m_bound)
        UnsubclassWindow();
    else if (m_registered)
        UnregisterHandle();
}

HWND CWnd::Detach()
{
    if (m_bound)
        UnsubclassWindow();
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    return hwnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    return static_cast<CWnd*>(::GetPropA(hwnd, kObjectProperty));
}

void CWnd::RegisterHandle(HWND hwnd)
{
    m_hWnd = hwnd;
    if (::SetPropA(hwnd, kObjectProperty, this))
        m_registered = true;
}

void CWnd::UnregisterHandle()
{
    if (m_registered && m_hWnd && ::GetPropA(m_hWnd, kObjectProperty) == this)
        ::RemovePropA(m_hWnd, kObjectProperty);
    m_registered = false;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_bound || FromHandlePermanent(hwnd))
        return false;
    if (!::SetWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    RegisterHandle(hwnd);
    m_bound = true;
    PreSubclassWindow();
    return true;
}

bool CWnd::SubclassDlgItem(int id, HWND parent)
{
    return SubclassWindow(::GetDlgItem(parent, id));
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_bound)
        return nullptr;
    ::RemoveWindowSubclass(m_hWnd, &CWnd::SubclassProc, kSubclassId);
    UnregisterHandle();
    m_bound = false;
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    return hwnd;
}

std::string CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

std::string CWnd::GetDlgItemText(int id) const
{
    return CWnd(GetDlgItem(id)).GetWindowText();
}

void CWnd::ScreenToClient(RECT* rect) const
{
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

bool CWnd::ModifyStyle(LONG_PTR remove, LONG_PTR add, UINT swpFlags) const
{
    LONG_PTR style = GetStyle();
    LONG_PTR changed = (style & ~remove) | add;
    if (changed == style)
        return false;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, changed);
    if (swpFlags)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return true;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

bool CWnd::PreTranslateMessage(MSG*)
{
    return false;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    return Default(msg, wp, lp);
}

LRESULT CWnd::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    return ::DefSubclassProc(m_hWnd, msg, wp, lp);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref)
{
    CWnd* self = reinterpret_cast<CWnd*>(ref);
    if (msg == WM_NCDESTROY) {
        LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
        ::RemoveWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId);
        self->UnregisterHandle();
        self->m_bound = false;
        self->m_hWnd = nullptr;
        self->PostNcDestroy();
        return result;
    }
    try {
        return self->WindowProc(msg, wp, lp);
    } catch (...) {
        // Nothing may cross a window procedure; the message falls back to the original one.
        return ::DefSubclassProc(hwnd, msg, wp, lp);
    }
}
