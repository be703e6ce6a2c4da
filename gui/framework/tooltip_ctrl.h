// CToolTipCtrl: a tool-tip control owned by a dialog, with tools that are the
// dialog's child windows. Dialogs normally use CDialog::SetUpToolTips instead of
// driving it by hand.
#pragma once

#include "framework/wnd.h"

#include <commctrl.h>

// 1: the tool tips of every window are active, 0: inactive. Read at start-up from the
// program options; CDialog::SetUpToolTips activates each dialog's control with it.
extern int g_showToolTips;

class CToolTipCtrl : public CWnd {
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // Creates the control for parent with the given styles (TTS_BALLOON). Its maximum
    // tip width is the screen width: a text breaks only at its own line breaks.
    bool Create(HWND parent, DWORD style = 0);
    // A tool that is the window itself (TTF_IDISHWND); the text is copied by the control.
    bool AddTool(HWND tool, const char* text) const;
    bool SetTitle(UINT icon, const char* title) const
    {
        return SendMessage(TTM_SETTITLEA, icon, reinterpret_cast<LPARAM>(title)) != 0;
    }
    void Activate(bool activate) const { SendMessage(TTM_ACTIVATE, activate ? TRUE : FALSE); }
    void RelayEvent(MSG* msg) const { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
    int SetMaxTipWidth(int width) const
    {
        return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width));
    }
    int GetMaxTipWidth() const { return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH)); }
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
};
