// CIconMenu's measuring and drawing: the flat look (a light strip behind the icons, a
// framed highlight) and the classic look (raised and sunken icon frames) for displays
// with a palette. Building the menus and their item records is in icon_menu.cpp.
#include "controls/icon_menu.h"

#include "controls/draw_helpers.h"
#include "controls/icon_menu_parts.h"
#include "gui/logic/colour_math.h"
#include "gui/logic/menu_item_layout.h"
#include "gui/logic/menu_item_text.h"

#include <algorithm>

using icon_menu_parts::CreateMenuFont;
using icon_menu_parts::kMenuItemInfoSize;
using icon_menu_parts::MenuFontDC;
using icon_menu_parts::ToU16;
using icon_menu_parts::ToWide;

namespace {

unsigned long WindowsMajorVersion()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return ::GetVersionExA(&version) ? version.dwMajorVersion : 6ul;
}

}  // namespace

void CIconMenu::MeasureItem(MEASUREITEMSTRUCT* item)
{
    const Item* record = item ? OwnRecord(item->itemData) : nullptr;
    if (!record)
        return;
    int textWidth = 0;
    if (!record->separator) {
        WideText text = record->text;
        std::replace(text.begin(), text.end(), L'\t', L' ');
        MenuFontDC measure;
        textWidth = measure.Width(text);
    }
    gui_logic::MenuItemSize size = gui_logic::MeasureMenuItem(
        record->separator, textWidth, ::GetSystemMetrics(SM_CYMENU), m_iconWidth, m_iconHeight);
    item->itemWidth = static_cast<UINT>(size.width);
    item->itemHeight = static_cast<UINT>(size.height);
}

bool CIconMenu::UseClassicLook(HDC dc) const { return (::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0; }

void CIconMenu::DrawItem(DRAWITEMSTRUCT* item)
{
    if (!item || item->CtlType != ODT_MENU)
        return;
    const Item* record = OwnRecord(item->itemData);
    if (!record)
        return;
    HMENU menu = reinterpret_cast<HMENU>(item->hwndItem);
    if (UseClassicLook(item->hDC)) {
        DrawClassic(item->hDC, item->rcItem, *record, item->itemState, menu);
        return;
    }
    if (!(item->itemState & ODS_GRAYED)) {
        DrawFlat(item->hDC, item->rcItem, *record, item->itemState, menu);
        return;
    }
    // A disabled item is painted off-screen and copied in one go.
    const int width = item->rcItem.right - item->rcItem.left;
    const int height = item->rcItem.bottom - item->rcItem.top;
    HDC memory = ::CreateCompatibleDC(item->hDC);
    HBITMAP bitmap = memory ? ::CreateCompatibleBitmap(item->hDC, width, height) : nullptr;
    if (!memory || !bitmap) {
        if (memory)
            ::DeleteDC(memory);
        DrawFlat(item->hDC, item->rcItem, *record, item->itemState, menu);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    HGDIOBJ oldFont = ::SelectObject(memory, ::GetCurrentObject(item->hDC, OBJ_FONT));
    DrawFlat(memory, RECT{0, 0, width, height}, *record, item->itemState, menu);
    ::BitBlt(item->hDC, item->rcItem.left, item->rcItem.top, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, oldFont);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

void CIconMenu::DrawItemText(HDC dc, const RECT& rect, const Item& item, COLORREF colour, UINT state) const
{
    HFONT font = CreateMenuFont();
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(dc, colour);
    const UINT prefix = (state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    RECT text{rect.left + gui_logic::MenuTextLeft(m_iconWidth), rect.top,
              rect.right - gui_logic::MenuTextRightMargin(m_iconWidth), rect.bottom};
    const std::u16string full = ToU16(item.text);
    const WideText before = ToWide(gui_logic::TextBeforeTab(full));
    const WideText after = ToWide(gui_logic::TextAfterTab(full));
    icon_menu_parts::DrawMenuText(dc, before, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
    if (!after.empty())
        icon_menu_parts::DrawMenuText(dc, after, &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | prefix);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    if (oldFont)
        ::SelectObject(dc, oldFont);
    if (font)
        ::DeleteObject(font);
}

void CIconMenu::DrawCheckMark(HDC dc, const RECT& box, HMENU menu, const Item& item, COLORREF colour) const
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_CHECKMARKS;
    HBITMAP mark = nullptr;
    if (menu && ::GetMenuItemInfoA(menu, static_cast<UINT>(item.position), TRUE, &info))
        mark = info.hbmpChecked;
    if (mark) {
        BITMAP bm{};
        if (::GetObjectA(mark, sizeof bm, &bm)) {
            int x = box.left + (box.right - box.left - bm.bmWidth) / 2;
            int y = box.top + (box.bottom - box.top - bm.bmHeight) / 2;
            ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(mark), 0, x, y, bm.bmWidth,
                         bm.bmHeight, DST_BITMAP | DSS_NORMAL);
            return;
        }
    }
    // The standard tick: two strokes, three pixels thick.
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    for (int i = 0; i < 3; ++i) {
        POINT stroke[3] = {{cx - 3, cy - 1 + i}, {cx - 1, cy + 1 + i}, {cx + 4, cy - 4 + i}};
        HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
        if (!pen)
            return;
        HGDIOBJ old = ::SelectObject(dc, pen);
        ::Polyline(dc, stroke, 3);
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }
}

void CIconMenu::DrawFlat(HDC dc, const RECT& rect, const Item& item, UINT state, HMENU menu) const
{
    using gui_logic::Lightened;
    const bool grayed = (state & ODS_GRAYED) != 0;
    const bool selected = (state & ODS_SELECTED) && !grayed;
    const bool checked = (state & ODS_CHECKED) != 0;
    const COLORREF menuColour = ::GetSysColor(COLOR_MENU);
    const COLORREF base =
        gui_logic::MenuStripUsesButtonFace(WindowsMajorVersion()) ? ::GetSysColor(COLOR_BTNFACE) : menuColour;
    const bool stripIsMenu = base == menuColour;
    const COLORREF strip = stripIsMenu ? Lightened(menuColour, 35) : base;
    const COLORREF background = stripIsMenu ? RGB(255, 255, 255) : menuColour;
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const int height = rect.bottom - rect.top;
    const int stripWidth = gui_logic::MenuStripWidth(m_iconWidth);

    FillSolid(dc, rect, background);
    FillSolid(dc, RECT{rect.left, rect.top, rect.left + stripWidth, rect.bottom}, strip);
    if (item.separator) {
        RECT line{rect.left + gui_logic::MenuSeparatorLeft(m_iconWidth), rect.top + height / 2, rect.right,
                  rect.top + height / 2 + 2};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    if (selected) {
        FillSolid(dc, rect, Lightened(highlight, stripIsMenu ? 85 : 70));
        FrameSolid(dc, rect, highlight);
    }
    const int iconLeft = rect.left + gui_logic::MenuIconLeft(true, m_iconWidth);
    const int iconTop = gui_logic::MenuIconTop(rect.top, height, m_iconHeight);
    if (item.images) {
        if (grayed) {
            HICON icon = ImageList_GetIcon(item.images, 0, ILD_NORMAL);
            if (icon) {
                ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, iconLeft, iconTop,
                             m_iconWidth, m_iconHeight, DST_ICON | DSS_DISABLED);
                ::DestroyIcon(icon);
            }
        } else {
            ImageList_Draw(item.images, 0, dc, iconLeft, iconTop, ILD_TRANSPARENT);
        }
    } else if (checked) {
        RECT box{iconLeft - 1, iconTop - 1, iconLeft + m_iconWidth + 1, iconTop + m_iconHeight + 1};
        FillSolid(dc, box, Lightened(highlight, 85));
        FrameSolid(dc, box, highlight);
        DrawCheckMark(dc, box, menu, item, ::GetSysColor(COLOR_MENUTEXT));
    }
    COLORREF text = ::GetSysColor(COLOR_MENUTEXT);
    if (grayed)
        text = stripIsMenu ? Lightened(::GetSysColor(COLOR_GRAYTEXT), 55) : ::GetSysColor(COLOR_GRAYTEXT);
    DrawItemText(dc, rect, item, text, state);
}

void CIconMenu::DrawClassic(HDC dc, const RECT& rect, const Item& item, UINT state, HMENU menu) const
{
    const bool grayed = (state & ODS_GRAYED) != 0;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;
    const COLORREF background = gui_logic::MenuStripUsesButtonFace(WindowsMajorVersion())
                                    ? ::GetSysColor(COLOR_BTNFACE)
                                    : ::GetSysColor(COLOR_MENU);
    const int height = rect.bottom - rect.top;
    const int stripWidth = gui_logic::MenuStripWidth(m_iconWidth);

    FillSolid(dc, rect, background);
    if (item.separator) {
        RECT line{rect.left, rect.top + height / 2, rect.right, rect.top + height / 2 + 2};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool hasMark = item.images || checked;
    if (selected) {
        RECT fill = rect;
        if (hasMark)
            fill.left += stripWidth;
        FillSolid(dc, fill, ::GetSysColor(COLOR_HIGHLIGHT));
    }
    const int iconLeft = rect.left + gui_logic::MenuIconLeft(false, m_iconWidth);
    const int iconTop = gui_logic::MenuIconTop(rect.top, height, m_iconHeight);
    RECT frame{iconLeft - 1, iconTop - 1, iconLeft + m_iconWidth + 1, iconTop + m_iconHeight + 1};
    if (item.images) {
        HICON icon = ImageList_GetIcon(item.images, 0, ILD_NORMAL);
        if (icon) {
            ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, iconLeft, iconTop,
                         m_iconWidth, m_iconHeight, DST_ICON | (grayed ? DSS_DISABLED : DSS_NORMAL));
            ::DestroyIcon(icon);
        }
    } else if (checked) {
        DrawCheckMark(dc, frame, menu, item, ::GetSysColor(COLOR_MENUTEXT));
    }
    if (checked)
        Draw3dRect(dc, frame, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (selected && item.images)
        Draw3dRect(dc, frame, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));

    if (grayed) {
        RECT shifted = rect;
        ::OffsetRect(&shifted, 1, 1);
        DrawItemText(dc, shifted, item, ::GetSysColor(COLOR_BTNHIGHLIGHT), state);
        DrawItemText(dc, rect, item, ::GetSysColor(COLOR_GRAYTEXT), state);
    } else {
        DrawItemText(dc, rect, item, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT), state);
    }
}
