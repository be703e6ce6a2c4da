// A modeless framework dialog (a real CDialog, so the real reflection to bound controls
// runs) for tests of single controls: controls are added after creation, commands are
// recorded, owner-drawn menus are served as the main window serves them. Its template
// is IDD_CONTROL_HOST in control_host.rc, which a test program's resource script
// includes.
#pragma once

#define IDD_CONTROL_HOST 2990

#ifndef RC_INVOKED

#include "framework/dialog.h"

#include <functional>
#include <utility>
#include <vector>

namespace gt {

class HostDialog : public CDialog {
public:
    HostDialog() : CDialog(IDD_CONTROL_HOST) {}
    ~HostDialog() override;

    // Shows the dialog with the caption at (x, y) in pixels; cx and cy are the client
    // size in dialog units.
    bool Create(const char* caption, int cx, int cy, int x = 60, int y = 60);
    // Adds a control (position in dialog units, the dialog's font).
    HWND AddControl(WORD id, const char* className, DWORD style, int x, int y, int cx, int cy,
                    const char* text);
    HWND Hwnd() const { return m_hWnd; }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int Clicks(WORD id) const;

    std::vector<std::pair<WORD, WORD>> commands;  // (id, notification code)
    std::function<void(UINT_PTR)> onTimer;
    int menuDrawRequests = 0;
    int menuMeasureRequests = 0;

protected:
    bool OnCommand(UINT code, UINT id, HWND control) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnDrawItem(UINT id, DRAWITEMSTRUCT* item) override;
    bool OnMeasureItem(UINT id, MEASUREITEMSTRUCT* item) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
};

}  // namespace gt

#endif  // RC_INVOKED
