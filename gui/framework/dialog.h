// CDialog: a dialog from a resource template, modal (DoModal, through DialogBoxParam)
// or modeless (Create). One dialog procedure dispatches the messages to the virtual
// handlers below; a handler returns true when it handled the message. No exception
// leaves the dialog procedure: one that escapes a handler is caught there, shown in a
// message box and the message counts as handled.
#pragma once

#include "framework/wnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;

    INT_PTR DoModal();
    bool Create(HWND parent = nullptr);  // modeless; the window shows when the template says so
    void EndDialog(INT_PTR result);      // modal: ends the loop; modeless: destroys the window

    // Moves data between controls and members (DoDataExchange). Returns false when a
    // value failed its check; the message was shown and the control has the focus.
    bool UpdateData(bool saveAndValidate = true);

    UINT GetTemplateId() const { return m_templateId; }
    bool IsModal() const { return m_modal; }

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();                 // runs UpdateData(false); TRUE = default focus
    virtual bool OnCommand(UINT code, UINT id, HWND control);  // IDOK/IDCANCEL go to OnOK/OnCancel
    virtual void OnOK();                         // UpdateData(true), then EndDialog(IDOK)
    virtual void OnCancel();                     // EndDialog(IDCANCEL)
    virtual bool OnNotify(UINT id, NMHDR* header, LRESULT* result);
    virtual bool OnTimer(UINT_PTR id);
    virtual bool OnSize(UINT type, int cx, int cy);
    virtual bool OnClose();                      // false: default (IDCANCEL through OnCancel)
    virtual bool OnContextMenu(HWND window, int x, int y);
    virtual bool OnDrawItem(UINT id, DRAWITEMSTRUCT* item);
    virtual bool OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item);
    virtual void OnDestroy() {}
    // Every other message (and the ones above that their handlers left alone). For a
    // message whose result a dialog returns directly (WM_CTLCOLOR*, WM_QUERYDRAGICON,
    // WM_MENUCHAR is not one of them) *result is returned, otherwise stored as DWLP_MSGRESULT.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

    // The handling of one message; derived classes rarely need to override it.
    virtual bool DispatchDialogMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

    HWND m_parent;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);
    UINT m_templateId;
    bool m_modal = false;
};
