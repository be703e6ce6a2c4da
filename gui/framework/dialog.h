// CDialog: a dialog from a resource template, modal (DoModal, through DialogBoxParam)
// or modeless (Create). One dialog procedure dispatches the messages to the virtual
// handlers below; a handler returns true when it handled the message. No exception
// leaves the dialog procedure: one that escapes a handler is caught there, shown in a
// message box and the message counts as handled.
//
// Owner: a modal dialog constructed without a parent is owned by the application's
// main window (AfxGetApp()->m_pMainWnd), or rather by that window's last active
// pop-up, so a dialog opened from a dialog is owned by the one that opened it. The
// owner stays disabled while the dialog runs, as with any modal dialog.
//
// Initialisation data: before OnInitDialog, the dialog sends the strings of the
// template's initialisation-data resource (type 240, same id as the template) to its
// controls: each entry is WORD control id, WORD message (0x0403 or CB_ADDSTRING adds a
// combo-box item, 0x0401 or LB_ADDSTRING a list-box item), DWORD byte count, then that
// many bytes of text ending in a NUL; a WORD 0 ends the list. In a resource script:
//     IDD_X 240 BEGIN  IDC_COMBO, 0x0403, 5L, "High\0",  0  END
//
// Tool tips: SetUpToolTips creates one balloon tool-tip control for the dialog, adds a
// tool per (control id, text) entry, titles it "Zephlaunch - <name>" (plain
// "Zephlaunch" without a name) with the information icon and activates it with
// g_showToolTips. PreTranslateMessage relays every message to it; ActivateToolTips
// switches it on or off later. The texts' own line breaks are kept, nothing re-wraps.
//
// Least size: a dialog with a sizing border cannot be made smaller than the size its
// template gives it at the display's scaling (its window size when OnInitDialog starts;
// RecordLeastSize takes the current size instead, for a dialog that grew on purpose).
#pragma once

#include "framework/tooltip_ctrl.h"
#include "framework/wnd.h"

#include <cstddef>

class CDataExchange;

// One tool of a dialog's tool-tip table.
struct ToolTipEntry {
    int id;
    const char* text;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    ~CDialog() override;
    // A dialog is bound to its window: a copy could not be.
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    INT_PTR DoModal();
    bool Create(HWND parent = nullptr);  // modeless; the window shows when the template says so
    void EndDialog(INT_PTR result);      // modal: ends the loop; modeless: destroys the window

    // Moves data between controls and members (DoDataExchange). Returns false when a
    // value failed its check; the message was shown and the control has the focus.
    bool UpdateData(bool saveAndValidate = true);

    UINT GetTemplateId() const { return m_templateId; }
    bool IsModal() const { return m_modal; }

    // Relays the message to the dialog's tool-tip control (see above).
    bool PreTranslateMessage(MSG* msg) override;

    // The window that owns a modal dialog given no parent (see above); null when the
    // main window does not exist yet or is the dialog itself.
    static HWND DefaultOwner(HWND self = nullptr);

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    virtual BOOL OnInitDialog();                               // runs UpdateData(false); TRUE = default focus
    virtual bool OnCommand(UINT code, UINT id, HWND control);  // IDOK/IDCANCEL go to OnOK/OnCancel
    virtual void OnOK();                                       // UpdateData(true), then EndDialog(IDOK)
    virtual void OnCancel();                                   // EndDialog(IDCANCEL)
    virtual bool OnNotify(UINT id, NMHDR* header, LRESULT* result);
    virtual bool OnTimer(UINT_PTR id);
    virtual bool OnSize(UINT type, int cx, int cy);
    virtual bool OnClose();  // false: default (IDCANCEL through OnCancel)
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

    // Tool tips (see above); call from OnInitDialog. dialogName may be null. Returns
    // false when the control could not be created; entries whose control is missing
    // are skipped.
    bool SetUpToolTips(const char* dialogName, const ToolTipEntry* entries, std::size_t count);
    template <std::size_t N>
    bool SetUpToolTips(const char* dialogName, const ToolTipEntry (&entries)[N])
    {
        return SetUpToolTips(dialogName, entries, N);
    }
    void ActivateToolTips(bool active) const;
    void RecordLeastSize();

    HWND m_parent;
    CToolTipCtrl m_toolTip;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void ExecuteDialogInit();
    UINT m_templateId;
    bool m_modal = false;
    SIZE m_leastSize = {0, 0};
};
