#include "framework/control_layout.h"

bool CControlLayout::Add(HWND parent, int id, unsigned anchors)
{
    return Add(parent, ::GetDlgItem(parent, id), anchors);
}

bool CControlLayout::Add(HWND parent, HWND control, unsigned anchors)
{
    RECT client;
    RECT place;
    if (!control || !::GetClientRect(parent, &client) || !::GetWindowRect(control, &place))
        return false;
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    m_controls.push_back({control, gui_logic::RecordLayout({place.left, place.top, place.right, place.bottom},
                                                           client.right, client.bottom, anchors)});
    return true;
}

bool CControlLayout::Apply(HWND parent) const
{
    RECT client;
    if (m_controls.empty() || !::GetWindow(parent, GW_CHILD) || !::GetClientRect(parent, &client))
        return false;
    for (const Entry& entry : m_controls) {
        if (!::IsWindow(entry.control))
            continue;
        gui_logic::Box box = gui_logic::PlaceChild(entry.layout, client.right, client.bottom);
        ::MoveWindow(entry.control, box.left, box.top, box.right - box.left, box.bottom - box.top, FALSE);
    }
    ::InvalidateRect(parent, nullptr, TRUE);
    ::UpdateWindow(parent);
    return true;
}
