// CControlLayout: keeps a dialog's controls in place while it is resized, by the
// per-edge rules of gui_logic::AnchoredLayout (gui/logic/anchored_layout.h).
//
//   OnInitDialog:  m_layout.Add(m_hWnd, IDC_LIST, gui_logic::kStretchRightBottom);
//                  m_layout.Add(m_hWnd, IDC_SAVE, gui_logic::kMoveRightDown);
//                  m_layout.Apply(m_hWnd);
//   OnSize:        m_layout.Apply(m_hWnd);   // also fine before the controls exist
//
// Add records the control's place in the parent's client coordinates against the
// client area's current size. Apply moves every recorded control with MoveWindow
// without repainting, then invalidates the whole parent (with erasing) and updates it.
#pragma once

#include "gui/logic/anchored_layout.h"

#include <windows.h>

#include <vector>

class CControlLayout {
public:
    // False when the control does not exist.
    bool Add(HWND parent, int id, unsigned anchors);
    bool Add(HWND parent, HWND control, unsigned anchors);
    // Moves the controls for the parent's current client size; false when nothing is
    // recorded or the parent has no child windows yet.
    bool Apply(HWND parent) const;
    bool IsEmpty() const { return m_controls.empty(); }
    void Clear() { m_controls.clear(); }

private:
    struct Entry {
        HWND control;
        gui_logic::AnchoredLayout layout;
    };
    std::vector<Entry> m_controls;
};
