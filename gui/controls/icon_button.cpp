#include "controls/icon_button.h"

#include "controls/darkened_icon.h"
#include "controls/draw_helpers.h"
#include "gui/logic/icon_button_layout.h"
#include "framework/dpi.h"
#include "framework/win_app.h"

#include <windowsx.h>

namespace {

using gui_logic::Box;

enum { kPairHot = 0, kPairNormal = 1, kPairFocused = 2 };

Box ToBox(const RECT& r) { return Box{r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const Box& b) { return RECT{b.left, b.top, b.right, b.bottom}; }

// An icon's size is twice its hot spot, which is the centre of an icon.
bool MeasureIcon(HICON icon, int* width, int* height)
{
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return false;
    *width = static_cast<int>(info.xHotspot * 2);
    *height = static_cast<int>(info.yHotspot * 2);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return true;
}

}  // namespace

CIconButton::CIconButton()
{
    m_margin = ScaledPixels(m_margin);
    ResetColours();
}

CIconButton::~CIconButton() { FreeIcons(); }

void CIconButton::PreSubclassWindow()
{
    UINT type = static_cast<UINT>(GetStyle() & BS_TYPEMASK);
    m_checkBox = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
    m_default = type == BS_DEFPUSHBUTTON;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
}

void CIconButton::PostNcDestroy()
{
    FreeIcons();
    m_mouseOver = false;
}

void CIconButton::SetFlat(bool flat, bool repaint)
{
    m_flat = flat;
    // A raised button does not follow the mouse, so nothing would end a hover it kept.
    if (!flat)
        m_mouseOver = false;
    if (repaint && IsWindow())
        Invalidate();
}

void CIconButton::DrawBorder(bool border, bool repaint)
{
    m_border = border;
    if (repaint && IsWindow())
        Invalidate();
}

void CIconButton::DrawFlatFocus(bool flatFocus, bool repaint)
{
    m_flatFocus = flatFocus;
    if (repaint && IsWindow())
        Invalidate();
}

void CIconButton::FreeIcons()
{
    if (m_first.handle)
        ::DestroyIcon(m_first.handle);
    if (m_second.handle)
        ::DestroyIcon(m_second.handle);
    m_first = Icon();
    m_second = Icon();
}

bool CIconButton::SetIcon(UINT resourceId, int width, int height, int secondIcon)
{
    FreeIcons();
    // The size asked for (or the icon's own) is meant at 96 DPI: at the display's DPI the
    // icon's image nearest to it is drawn as it is, not stretched.
    HINSTANCE instance = AfxGetResourceHandle();
    const int width96 = width > 0 ? width : NaturalIconSize(instance, resourceId);
    if (width96 > 0) {
        const int size = NearestIconSize(instance, resourceId, ScaledPixels(width96));
        height = (height > 0 ? height : width96) * size / width96;
        width = size;
    }
    HICON first = static_cast<HICON>(
        ::LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (first) {
        m_first.handle = first;
        if (secondIcon == kDarkened) {
            DWORD error = 0;
            m_second.handle = CreateDarkenedIcon(first, &error);
        }
        bool measured = MeasureIcon(m_first.handle, &m_first.width, &m_first.height);
        if (measured && m_second.handle)
            measured = MeasureIcon(m_second.handle, &m_second.width, &m_second.height);
        if (!measured)
            FreeIcons();
    }
    if (IsWindow())
        Invalidate();
    return m_first.handle != nullptr;
}

void CIconButton::ResetColours()
{
    for (ColourPair& pair : m_colours)
        pair = ColourPair{::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT)};
}

const CIconButton::ColourPair& CIconButton::PairFor(gui_logic::ColourPair which) const
{
    switch (which) {
    case gui_logic::ColourPair::Hot:
        return m_colours[kPairHot];
    case gui_logic::ColourPair::Focused:
        return m_colours[kPairFocused];
    case gui_logic::ColourPair::Normal:
    default:
        return m_colours[kPairNormal];
    }
}

void CIconButton::CancelHover()
{
    if (m_mouseOver) {
        m_mouseOver = false;
        Invalidate();
    }
}

void CIconButton::OnMouseMove(WPARAM wp, LPARAM lp)
{
    if (!m_flat)
        return;
    if ((wp & MK_LBUTTON) && !m_mouseOver)
        return;
    POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ::ClientToScreen(m_hWnd, &pt);
    HWND under = ::WindowFromPoint(pt);
    HWND active = ::GetActiveWindow();
    if (under == m_hWnd && active) {
        if (!m_mouseOver) {
            m_mouseOver = true;
            Invalidate();
            TRACKMOUSEEVENT track{};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = m_hWnd;
            // Without a leave notice the highlight could never end: drop it at once.
            if (!::TrackMouseEvent(&track))
                CancelHover();
        }
    } else {
        CancelHover();
    }
}

LRESULT CIconButton::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove(wp, lp);
        break;
    case WM_MOUSELEAVE:
        CancelHover();
        return 0;
    case WM_KILLFOCUS:
    case WM_CANCELMODE: {
        LRESULT result = Default(msg, wp, lp);
        CancelHover();
        return result;
    }
    case WM_ACTIVATE: {
        LRESULT result = Default(msg, wp, lp);
        if (LOWORD(wp) == WA_INACTIVE)
            CancelHover();
        return result;
    }
    case WM_ENABLE: {
        LRESULT result = Default(msg, wp, lp);
        if (!wp) {
            HWND parent = GetParent();
            if (parent) {
                // The next tab stop after this button; GetNextDlgTabItem skips disabled
                // controls but hands back the button itself when it is the only tab stop.
                HWND next = ::GetNextDlgTabItem(parent, m_hWnd, FALSE);
                if (!next || next == m_hWnd || !::IsWindowEnabled(next))
                    next = parent;
                ::SetFocus(next);
            }
            CancelHover();
        }
        return result;
    }
    case WM_SYSCOLORCHANGE: {
        LRESULT result = Default(msg, wp, lp);
        ResetColours();
        Invalidate();
        return result;
    }
    case WM_GETDLGCODE:
        return Default(msg, wp, lp) | (m_default ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE: {
        UINT type = static_cast<UINT>(wp & BS_TYPEMASK);
        if (type == BS_DEFPUSHBUTTON)
            m_default = true;
        else if (type == BS_PUSHBUTTON)
            m_default = false;
        // The button stays owner-drawn whatever type is asked for.
        return Default(msg, (wp & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lp);
    }
    case BM_SETCHECK:
        if (m_checkBox) {
            m_tick = gui_logic::TickFromSetCheck(static_cast<unsigned long long>(wp));
            Invalidate();
            return 0;
        }
        break;
    case BM_GETCHECK:
        if (m_checkBox)
            return m_tick;
        break;
    default:
        break;
    }
    return Default(msg, wp, lp);
}

bool CIconButton::PreTranslateMessage(MSG* msg)
{
    // A double click counts as a second single click.
    if (msg->hwnd == m_hWnd && msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
    return false;
}

bool CIconButton::OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result)
{
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            SetFocus();
            if (m_checkBox) {
                m_tick = m_tick ? 0 : 1;
                Invalidate();
            }
        }
        return false;  // the dialog handles the command as well
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        *result = TRUE;
        return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        *result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return true;
    default:
        return false;
    }
}

void CIconButton::DrawItem(const DRAWITEMSTRUCT& item) const
{
    HDC dc = item.hDC;
    gui_logic::IconButtonState state;
    state.flat = m_flat;
    state.border = m_border;
    state.flatFocus = m_flatFocus;
    state.mouseOver = m_mouseOver;
    state.checkBox = m_checkBox;
    state.tick = m_tick;
    state.isDefault = m_default;
    state.selected = (item.itemState & ODS_SELECTED) != 0;
    state.focused = (item.itemState & ODS_FOCUS) != 0;
    state.disabled = (item.itemState & ODS_DISABLED) != 0;
    state.hasSecondIcon = m_second.handle != nullptr;
    const gui_logic::IconButtonLook look = gui_logic::DecideIconButtonLook(state);

    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    RECT r = item.rcItem;
    if (look.blackFrame) {
        FrameSolid(dc, r, RGB(0, 0, 0));
        ::InflateRect(&r, -1, -1);
    }
    FillSolid(dc, r, PairFor(look.colours).background);

    switch (look.border) {
    case gui_logic::ButtonBorder::ThinSunken:
        Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        break;
    case gui_logic::ButtonBorder::ShadowFrame:
        FrameSolid(dc, r, ::GetSysColor(COLOR_BTNSHADOW));
        break;
    case gui_logic::ButtonBorder::FullRaised: {
        Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
        RECT inner = r;
        ::InflateRect(&inner, -1, -1);
        Draw3dRect(dc, inner, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        break;
    }
    case gui_logic::ButtonBorder::ThinRaised:
        Draw3dRect(dc, r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        break;
    case gui_logic::ButtonBorder::None:
        break;
    }

    const std::string caption = GetWindowText();
    DrawIcon(dc, item.rcItem, !caption.empty(), look, state.disabled);
    if (!caption.empty())
        DrawCaption(dc, item.rcItem, caption, look, state.disabled);

    if (look.focusRect) {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    ::SetBkMode(dc, oldMode);
}

void CIconButton::DrawIcon(HDC dc, const RECT& itemRect, bool hasCaption,
                           const gui_logic::IconButtonLook& look, bool disabled) const
{
    const Icon& icon = look.secondIcon ? m_second : m_first;
    if (!icon.handle)
        return;
    gui_logic::IconButtonLayoutInput in;
    in.item = ToBox(itemRect);
    in.hasIcon = true;
    in.iconWidth = icon.width;
    in.iconHeight = icon.height;
    in.hasCaption = hasCaption;
    in.margin = m_margin;
    in.shift = look.shiftContent;
    in.shiftX = m_pressedOffset.x;
    in.shiftY = m_pressedOffset.y;
    const Box place = gui_logic::LayOutIconButton(in).icon;
    ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.handle), 0, place.left, place.top,
                 place.Width(), place.Height(), DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void CIconButton::DrawCaption(HDC dc, const RECT& itemRect, const std::string& caption,
                              const gui_logic::IconButtonLook& look, bool disabled) const
{
    gui_logic::IconButtonLayoutInput in;
    in.item = ToBox(itemRect);
    in.hasIcon = m_first.handle != nullptr;
    in.iconWidth = m_first.width;
    in.iconHeight = m_first.height;
    in.hasCaption = true;
    in.margin = m_margin;
    in.shift = look.shiftContent;
    in.shiftX = m_pressedOffset.x;
    in.shiftY = m_pressedOffset.y;
    const Box area = gui_logic::LayOutIconButton(in).caption;

    RECT measured = ToRect(area);
    ::DrawTextA(dc, caption.c_str(), -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    RECT text =
        ToRect(gui_logic::CentreText(area, measured.right - measured.left, measured.bottom - measured.top));

    COLORREF oldColour;
    if (disabled) {
        ::OffsetRect(&text, 1, 1);
        oldColour = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextA(dc, caption.c_str(), -1, &text, DT_WORDBREAK | DT_CENTER);
        ::OffsetRect(&text, -1, -1);
        ::SetTextColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    } else {
        oldColour = ::SetTextColor(dc, PairFor(look.colours).text);
    }
    ::DrawTextA(dc, caption.c_str(), -1, &text, DT_WORDBREAK | DT_CENTER);
    ::SetTextColor(dc, oldColour);
}
