#include "framework/wnd.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

// Window properties: the bound object of a window, and the procedure a subclassed
// window forwards to (kept while the window lives, even after the object let go).
const char kObjectProperty[] = "ZephlaunchWndObject";
const char kOldProcProperty[] = "ZephlaunchOldProc";
// The framework's own window class (CreateEx without a class name).
const char kFrameworkClass[] = "ZephlaunchWnd";

// Superclasses registered by CreateEx: the class atom and the base class's procedure.
struct Superclass {
    ATOM atom;
    WNDPROC baseProc;
};
std::vector<Superclass> g_superclasses;
// The object CreateEx is creating a window for; the window's first message binds it.
// The GUI runs on one thread, so one slot is enough.
CWnd* g_objectInCreation = nullptr;

WNDPROC BaseProcOf(HWND hwnd)
{
    ATOM atom = static_cast<ATOM>(::GetClassLongPtrA(hwnd, GCW_ATOM));
    for (const Superclass& entry : g_superclasses)
        if (entry.atom == atom)
            return entry.baseProc;
    return &::DefWindowProcA;
}

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
    WNDPROC old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (old != &CWnd::SubclassProc && ::GetPropA(hwnd, kOldProcProperty))
        return false;  // still in the chain under a later subclasser: binding again would loop
    if (!old || old == &CWnd::SubclassProc) {
        // Bound once before by an object that has let go: the old procedure is known.
        old = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProcProperty));
        if (!old)
            return false;
    } else if (!::SetPropA(hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(old))) {
        return false;
    }
    m_oldProc = old;
    RegisterHandle(hwnd);
    if (!m_registered) {
        m_hWnd = nullptr;
        return false;
    }
    m_bound = true;
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != &CWnd::SubclassProc
        && !::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc))) {
        UnregisterHandle();
        ::RemovePropA(hwnd, kOldProcProperty);
        m_bound = false;
        m_hWnd = nullptr;
        return false;
    }
    PreSubclassWindow();
    return true;
}

bool CWnd::SubclassDlgItem(int id, HWND parent) { return SubclassWindow(::GetDlgItem(parent, id)); }

HWND CWnd::UnsubclassWindow()
{
    if (!m_bound)
        return nullptr;
    HWND hwnd = m_hWnd;
    // Only when our procedure is still the window's own can the original one go back;
    // otherwise a later subclasser calls ours, which keeps forwarding (kOldProcProperty).
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == &CWnd::SubclassProc) {
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
        ::RemovePropA(hwnd, kOldProcProperty);
    }
    UnregisterHandle();
    m_bound = false;
    m_hWnd = nullptr;
    return hwnd;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR id, void* createParam)
{
    if (m_hWnd)
        return false;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    std::string ownClass = className ? std::string("Zeph") + className : std::string(kFrameworkClass);
    WNDCLASSEXA known = {};
    known.cbSize = sizeof known;
    if (!::GetClassInfoExA(instance, ownClass.c_str(), &known)) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        WNDPROC base = &::DefWindowProcA;
        if (className) {
            if (!::GetClassInfoExA(nullptr, className, &wc) && !::GetClassInfoExA(instance, className, &wc))
                return false;
            base = wc.lpfnWndProc;
            wc.cbSize = sizeof wc;
        } else {
            wc.style = CS_DBLCLKS;
            wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        }
        wc.lpfnWndProc = &CWnd::CreationProc;
        wc.hInstance = instance;
        wc.lpszClassName = ownClass.c_str();
        wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
        ATOM atom = ::RegisterClassExA(&wc);
        if (!atom)
            return false;
        g_superclasses.push_back({atom, base});
    }
    CWnd* outer = g_objectInCreation;
    g_objectInCreation = this;
    HWND hwnd = ::CreateWindowExA(exStyle, ownClass.c_str(), windowName, style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(id), instance, createParam);
    DWORD error = ::GetLastError();
    if (g_objectInCreation == this)
        g_objectInCreation = outer;
    if (!hwnd) {
        ::SetLastError(error);
        return false;
    }
    return m_bound || m_hWnd == hwnd;
}

LRESULT CALLBACK CWnd::CreationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* self = g_objectInCreation;
    WNDPROC base = BaseProcOf(hwnd);
    if (!self || FromHandlePermanent(hwnd))
        return ::CallWindowProcA(base, hwnd, msg, wp, lp);
    g_objectInCreation = nullptr;
    // Bind: from here on the window runs through SubclassProc like any subclassed one.
    if (!::SetPropA(hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(base)))
        return ::CallWindowProcA(base, hwnd, msg, wp, lp);
    self->m_oldProc = base;
    self->RegisterHandle(hwnd);
    self->m_bound = true;
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc));
    self->PreSubclassWindow();
    return SubclassProc(hwnd, msg, wp, lp);
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

std::string CWnd::GetDlgItemText(int id) const { return CWnd(GetDlgItem(id)).GetWindowText(); }

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
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return true;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return false; }

bool CWnd::PreTranslateMessage(MSG*) { return false; }

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }

LRESULT CWnd::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    if (!m_oldProc)
        return ::DefWindowProcA(m_hWnd, msg, wp, lp);
    return ::CallWindowProcA(m_oldProc, m_hWnd, msg, wp, lp);
}

bool CWnd::ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lp);
        break;
    case WM_NOTIFY:
        child = lp ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : nullptr;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (item && item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (item && item->CtlType != ODT_MENU)
            child = ::GetDlgItem(parent, static_cast<int>(item->CtlID));
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lp);
        break;
    default:
        return false;
    }
    if (!child || child == parent)
        return false;
    CWnd* object = FromHandlePermanent(child);
    return object && object->OnChildNotify(msg, wp, lp, result);
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC old = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProcProperty));
    CWnd* self = FromHandlePermanent(hwnd);
    if (!self || !self->m_bound) {
        // The object let go but a later subclasser still calls us: pass everything on.
        if (msg == WM_NCDESTROY)
            ::RemovePropA(hwnd, kOldProcProperty);
        return old ? ::CallWindowProcA(old, hwnd, msg, wp, lp) : ::DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
        LRESULT result = ::CallWindowProcA(self->m_oldProc, hwnd, msg, wp, lp);
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) == &CWnd::SubclassProc)
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->m_oldProc));
        ::RemovePropA(hwnd, kOldProcProperty);
        self->UnregisterHandle();
        self->m_bound = false;
        self->m_hWnd = nullptr;
        self->PostNcDestroy();
        return result;
    }
    LRESULT result = 0;
    if (ReflectToChild(hwnd, msg, wp, lp, &result))
        return result;
    return self->WindowProc(msg, wp, lp);
}
