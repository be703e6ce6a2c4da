// CWnd: a thin value wrapper around one HWND with one-line helpers, plus optional
// subclassing so that a derived control class can handle its own messages.
//
// Binding: SubclassWindow / SubclassDlgItem attach the object to an existing window
// by classic subclassing (the window procedure is replaced with SetWindowLongPtr and
// the original one is called through CallWindowProc). From then on WindowProc sees
// every message of that window; Default() passes a message on to the original
// procedure. PreSubclassWindow runs once right after binding. When the window is
// destroyed the object is detached and PostNcDestroy runs (an object that owns itself
// may delete itself there). UnsubclassWindow puts the original procedure back when
// nobody subclassed the window after us; otherwise the window keeps forwarding to it.
//
// Creation: CreateEx makes a new window that is bound from its very first message
// (WM_NCCREATE, so also WM_CREATE) on. With a null class name it uses the framework's
// own window class (DefWindowProc underneath, arrow cursor, no background brush);
// with a system or registered class name ("ComboBox", "Edit", WC_LISTVIEWA, ...) it
// uses a superclass of that class named "Zeph" + the class name, so a bound combo box
// reports the class name "ZephComboBox" to GetClassName. PreSubclassWindow runs
// before WM_NCCREATE reaches the class's own procedure.
//
// Reflection: WM_COMMAND (from a control), WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM
// (controls only) and WM_CTLCOLOR* sent to any bound window (a framework dialog or a
// subclassed/created control such as a list view) are first offered to the bound
// object of the child that sent them, through OnChildNotify. Returning true there eats
// the message (*result is what the parent returns); false lets the parent handle it.
//
// Pre-translation: every message taken from the thread's queue for a window is offered
// to PreTranslateMessage of the bound objects from that window up through its parents
// (the innermost first); the first that returns true ends the message, which is then
// neither translated nor dispatched.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}
    virtual ~CWnd();

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    void Attach(HWND hwnd) { m_hWnd = hwnd; }
    HWND Detach();

    // Bound object of a window (subclassed control or framework dialog), or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    // Creates a window bound to this object from its first message on (see above).
    // rect is in the parent's client coordinates (screen for pop-ups); id is the
    // child id (or the menu handle for a pop-up). Returns false when the window could
    // not be created (GetLastError tells why).
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, const RECT& rect,
                  HWND parent, UINT_PTR id, void* createParam = nullptr);

    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, HWND parent);
    HWND UnsubclassWindow();
    bool IsBound() const { return m_bound; }

    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const
    {
        return ::SendMessageA(m_hWnd, msg, wp, lp);
    }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const
    {
        return ::PostMessageA(m_hWnd, msg, wp, lp);
    }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    BOOL SetWindowText(const char* text) const { return ::SetWindowTextA(m_hWnd, text); }
    std::string GetWindowText() const;
    BOOL SetDlgItemText(int id, const char* text) const { return ::SetDlgItemTextA(m_hWnd, id, text); }
    std::string GetDlgItemText(int id) const;
    BOOL EnableWindow(bool enable = true) const { return ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    bool IsIconic() const { return ::IsIconic(m_hWnd) != FALSE; }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL MoveWindow(int x, int y, int w, int h, bool repaint = true) const
    {
        return ::MoveWindow(m_hWnd, x, y, w, h, repaint ? TRUE : FALSE);
    }
    BOOL SetWindowPos(HWND after, int x, int y, int w, int h, UINT flags) const
    {
        return ::SetWindowPos(m_hWnd, after, x, y, w, h, flags);
    }
    BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_hWnd, rect); }
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
    void ScreenToClient(RECT* rect) const;
    BOOL ScreenToClient(POINT* pt) const { return ::ScreenToClient(m_hWnd, pt); }
    BOOL ClientToScreen(POINT* pt) const { return ::ClientToScreen(m_hWnd, pt); }
    BOOL Invalidate(bool erase = true) const
    {
        return ::InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE);
    }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    LONG_PTR GetStyle() const { return ::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    LONG_PTR GetExStyle() const { return ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    bool ModifyStyle(LONG_PTR remove, LONG_PTR add, UINT swpFlags = 0) const;
    HICON SetIcon(HICON icon, bool big) const
    {
        return reinterpret_cast<HICON>(
            SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
    BOOL SetMenu(HMENU menu) const { return ::SetMenu(m_hWnd, menu); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }
    BOOL DrawMenuBar() const { return ::DrawMenuBar(m_hWnd); }
    UINT_PTR SetTimer(UINT_PTR id, UINT ms) const { return ::SetTimer(m_hWnd, id, ms, nullptr); }
    BOOL KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id); }
    BOOL DestroyWindow();
    int MessageBox(const char* text, const char* caption, UINT type) const
    {
        return ::MessageBoxA(m_hWnd, text, caption, type);
    }

    // Reflection from the parent window (see above).
    virtual bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    // Message pre-translation (see above).
    virtual bool PreTranslateMessage(MSG* msg);

protected:
    // Plain control wrappers (CButton, CEdit, CListCtrl, ...) are values: a copy hands
    // over the handle only and is never bound to the window. Classes whose objects are
    // bound (dialogs, subclassed or created controls) delete both. Assigning to a bound
    // object would leave it bound to its old window, so that is refused (the handle
    // stays); a copy of a bound object is an unbound value.
    CWnd(const CWnd& other) : m_hWnd(other.m_hWnd) {}
    CWnd& operator=(const CWnd& other);

    virtual void PreSubclassWindow() {}
    virtual LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp);
    virtual void PostNcDestroy() {}
    // The original window procedure of a subclassed window.
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);

    // Framework dialogs register themselves (without subclassing) through these.
    void RegisterHandle(HWND hwnd);
    void UnregisterHandle();

    // Offers a notification from a child (see Reflection above) to the child's bound
    // object; true when that object handled it.
    static bool ReflectToChild(HWND parent, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK CreationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool m_bound = false;         // subclassed by this object
    bool m_registered = false;    // entered in the handle map (subclassed or a dialog)
    WNDPROC m_oldProc = nullptr;  // the procedure the messages go on to
};
