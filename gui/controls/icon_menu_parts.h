// Helpers shared by CIconMenu's building (icon_menu.cpp) and drawing (icon_menu_draw.cpp).
#pragma once

#include <windows.h>

#include "controls/menu_code_page.h"

#include <cstddef>
#include <string>

namespace icon_menu_parts {

inline std::u16string ToU16(const WideText& text) { return std::u16string(text.begin(), text.end()); }
inline WideText ToWide(const std::u16string& text) { return WideText(text.begin(), text.end()); }

// MENUITEMINFO as Windows 95 and NT 4 know it (without hbmpItem).
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);

// The menu font of the non-client metrics (null when it cannot be made). The ANSI calls
// and the structure sizes of the first versions keep this working on Windows 95 and
// NT 4 as well.
HFONT CreateMenuFont();

// A screen DC with the menu font selected, for measuring.
class MenuFontDC {
public:
    MenuFontDC();
    ~MenuFontDC();
    MenuFontDC(const MenuFontDC&) = delete;
    MenuFontDC& operator=(const MenuFontDC&) = delete;

    int Width(const WideText& text) const;

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old = nullptr;
};

// Windows 95, 98 and ME export DrawTextW and CharLowerBuffW as stubs that fail with
// ERROR_CALL_NOT_IMPLEMENTED. Menu texts are drawn and lowered through these two, which
// then take the ANSI call with the text in the menu code page. The wide calls are
// reached through g_wideTextCalls so that a test can put a 9x-like stub in their place.
struct WideTextCalls {
    int(WINAPI* drawText)(HDC, LPCWSTR, int, LPRECT, UINT);
    DWORD(WINAPI* charLowerBuff)(LPWSTR, DWORD);
};
extern WideTextCalls g_wideTextCalls;

int DrawMenuText(HDC dc, const WideText& text, RECT* rect, UINT format);
void LowerMenuText(WideText* text);

}  // namespace icon_menu_parts
