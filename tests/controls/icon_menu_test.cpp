// CIconMenu under Wine: building from the menu template, item records, measuring and
// drawing with a real DC (pixels read back), menu characters, bringing popups up to
// date, and a real popup menu driven by TrackPopupMenu.
#include "controls/icon_menu.h"
#include "controls/icon_menu_parts.h"

#include "art_ids.h"
#include "controls_test_ids.h"
#include "framework/message_filter.h"
#include "support/control_host.h"
#include "support/message_pump.h"
#include "support/screenshot.h"
#include "support/watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using gt::Capture;
using gt::Rgb;
using gt::SysRgb;

const int kItemWidth = 220;

// The flat look's colours as the rules give them (Windows 95 / NT 4 and later).
struct FlatColours {
    std::uint32_t strip;
    std::uint32_t background;
    std::uint32_t selected;
    std::uint32_t grayText;
};

COLORREF Lighter(COLORREF c, int percent)
{
    auto l = [percent](int v) { return v + (255 - v) * percent / 100; };
    return RGB(l(GetRValue(c)), l(GetGValue(c)), l(GetBValue(c)));
}

FlatColours ExpectedFlatColours()
{
    COLORREF menu = ::GetSysColor(COLOR_MENU);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    bool stripIsMenu = face == menu;
    FlatColours c;
    c.strip = Rgb(stripIsMenu ? Lighter(menu, 35) : face);
    c.background = Rgb(stripIsMenu ? RGB(255, 255, 255) : menu);
    c.selected = Rgb(Lighter(::GetSysColor(COLOR_HIGHLIGHT), stripIsMenu ? 85 : 70));
    c.grayText =
        Rgb(stripIsMenu ? Lighter(::GetSysColor(COLOR_GRAYTEXT), 55) : ::GetSysColor(COLOR_GRAYTEXT));
    return c;
}

HFONT MenuFont()
{
    NONCLIENTMETRICSW m{};
    m.cbSize = CCSIZEOF_STRUCT(NONCLIENTMETRICSW, lfMessageFont);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0))
        return nullptr;
    return ::CreateFontIndirectW(&m.lfMenuFont);
}

int TextWidth(const std::wstring& text)
{
    HDC dc = ::GetDC(nullptr);
    HFONT font = MenuFont();
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    ::ReleaseDC(nullptr, dc);
    return size.cx;
}

std::wstring BeforeTab(const std::wstring& text) { return text.substr(0, text.find(L'\t')); }

ULONG_PTR ItemData(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return info.dwItemData;
}

UINT ItemType(HMENU menu, int position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return info.fType;
}

int MeasuredHeight(HMENU menu, int position)
{
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = ::GetMenuItemID(menu, position);
    mis.itemData = ItemData(menu, position);
    CIconMenu::HandleMeasureItem(&mis);
    return static_cast<int>(mis.itemHeight);
}

// Draws one item of `menu` into a fresh canvas through the owner-draw entry point.
Capture DrawOne(HMENU menu, int position, UINT state, bool* handled = nullptr)
{
    const int height = MeasuredHeight(menu, position);
    gt::MemoryCanvas canvas(kItemWidth, height, RGB(255, 0, 255));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = ::GetMenuItemID(menu, position);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = state;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = canvas.Dc();
    dis.rcItem = RECT{0, 0, kItemWidth, height};
    dis.itemData = ItemData(menu, position);
    bool done = CIconMenu::HandleDrawItem(&dis);
    if (handled)
        *handled = done;
    return canvas.Read();
}

// Leftmost / rightmost column at or after `from` holding a pixel of the colour.
int LeftmostColumn(const Capture& c, std::uint32_t rgb, int from)
{
    for (int x = from; x < c.width; ++x)
        for (int y = 0; y < c.height; ++y)
            if (c.At(x, y) == rgb)
                return x;
    return -1;
}

int RightmostColumn(const Capture& c, std::uint32_t rgb)
{
    for (int x = c.width - 1; x >= 0; --x)
        for (int y = 0; y < c.height; ++y)
            if (c.At(x, y) == rgb)
                return x;
    return -1;
}

class ClassicIconMenu : public CIconMenu {
protected:
    bool UseClassicLook(HDC) const override { return true; }
};

class IconMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(InstallMessageFilter());
        ASSERT_TRUE(bar.LoadMenu(IDM_TEST_MENU));
        file = bar.GetSubMenu(0);
        tools = bar.GetSubMenu(1);
        ASSERT_NE(file, nullptr);
        ASSERT_NE(tools, nullptr);
        more = ::GetSubMenu(tools, 2);
        ASSERT_NE(more, nullptr);
        EXPECT_TRUE(bar.SetItemBitmap(ID_TEST_EXIT, IDB_EXIT));
        EXPECT_TRUE(bar.SetItemBitmap(ID_TEST_NEW, IDB_NEW));
        EXPECT_TRUE(bar.SetItemBitmap(ID_TEST_DELETE, IDB_DELETE));
        EXPECT_TRUE(bar.SetItemBitmap(ID_TEST_SHORTCUT, IDB_CREATE_SHORTCUT));
        EXPECT_TRUE(bar.SetItemBitmap(ID_TEST_OPTIONS, IDB_PROGRAM_OPTIONS));
        EXPECT_TRUE(bar.SetItemBitmap(ID_TEST_SERVICES, IDB_SERVICE_MANAGER));

        ASSERT_TRUE(context.LoadMenu(IDM_TEST_CONTEXT));
        popup = context.GetSubMenu(0);
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(context.SetItemBitmap(ID_TEST_NEW, IDB_NEW));
        EXPECT_FALSE(context.SetItemBitmap(ID_TEST_NOTHING, IDB_TEST_MISSING));
        EXPECT_TRUE(context.SetItemBitmap(ID_TEST_SERVICES, IDB_SERVICE_MANAGER));
    }

    gt::Watchdog dog{"icon menu test", 60000};
    CIconMenu bar;
    CIconMenu context;
    HMENU file = nullptr;
    HMENU tools = nullptr;
    HMENU more = nullptr;
    HMENU popup = nullptr;
};

TEST_F(IconMenuTest, MenuBarKeepsTextItemsAndPopupItemsAreOwnerDrawn)
{
    ASSERT_EQ(bar.GetMenuItemCount(), 3);
    wchar_t text[64] = {};
    ::GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&File");
    ::GetMenuStringW(bar, 2, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"&Donate");
    EXPECT_EQ(bar.GetMenuItemID(2), static_cast<UINT>(ID_TEST_DONATE));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(ItemType(bar, i) & MFT_OWNERDRAW) << i;

    ASSERT_EQ(::GetMenuItemCount(file), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(ItemType(file, i) & MFT_OWNERDRAW) << i;
        EXPECT_NE(ItemData(file, i), 0u) << i;
    }
    EXPECT_TRUE(ItemType(file, 3) & MFT_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(file, 4), static_cast<UINT>(ID_TEST_EXIT));
    EXPECT_TRUE(::GetMenuState(tools, ID_TEST_SERVICES, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(ItemType(more, 0) & MFT_OWNERDRAW);
    EXPECT_EQ(bar.GetItemText(more, 0), L"&Inner ");
}

TEST_F(IconMenuTest, EveryMenuOfTheClassIsInTheProcessList)
{
    for (HMENU m : {bar.m_hMenu, file, tools, more, context.m_hMenu, popup})
        EXPECT_TRUE(CIconMenu::IsIconMenu(m));
    EXPECT_EQ(CIconMenu::FromHandle(file), &bar);
    EXPECT_EQ(CIconMenu::FromHandle(popup), &context);
    HMENU plain = ::CreatePopupMenu();
    EXPECT_FALSE(CIconMenu::IsIconMenu(plain));
    EXPECT_FALSE(CIconMenu::IsIconMenu(nullptr));
    ::DestroyMenu(plain);
    {
        CIconMenu local;
        ASSERT_TRUE(local.LoadMenu(IDM_TEST_CONTEXT));
        HMENU localPopup = local.GetSubMenu(0);
        EXPECT_TRUE(CIconMenu::IsIconMenu(localPopup));
        plain = localPopup;
    }
    EXPECT_FALSE(CIconMenu::IsIconMenu(plain)) << "a destroyed menu leaves the list";
}

TEST_F(IconMenuTest, AcceleratorTextsLineUp)
{
    const int target = TextWidth(L"&Create Shortcut ");
    for (int i : {0, 1, 2, 4}) {
        std::wstring text = bar.GetItemText(file, i);
        EXPECT_GE(TextWidth(BeforeTab(text)), target) << i;
        EXPECT_LT(TextWidth(BeforeTab(text).substr(0, BeforeTab(text).size() - 1)), target)
            << "no blank more than needed";
    }
    std::wstring exitText = bar.GetItemText(file, 4);
    EXPECT_EQ(exitText.substr(exitText.find(L'\t')), L"\tAlt+F4");
    EXPECT_EQ(exitText.find(L"E&xit "), 0u);
}

TEST_F(IconMenuTest, MissingResourcesFailCleanly)
{
    CIconMenu missing;
    EXPECT_FALSE(missing.LoadMenu(4321));
    EXPECT_EQ(missing.m_hMenu, nullptr);
    EXPECT_FALSE(bar.SetItemBitmap(55555, IDB_NEW)) << "no item with that command";
    EXPECT_TRUE(bar.ItemHasIcon(file, 1));
    EXPECT_FALSE(bar.SetItemBitmap(ID_TEST_DELETE, IDB_TEST_MISSING));
    EXPECT_FALSE(bar.ItemHasIcon(file, 1)) << "a bitmap that cannot be loaded leaves no icon";
    EXPECT_FALSE(context.ItemHasIcon(popup, 1));
}

TEST_F(IconMenuTest, Measuring)
{
    const int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemData = ItemData(file, 3);
    ASSERT_TRUE(CIconMenu::HandleMeasureItem(&mis));
    EXPECT_EQ(mis.itemWidth, 0u);
    EXPECT_EQ(static_cast<int>(mis.itemHeight), cyMenu / 2);

    mis = MEASUREITEMSTRUCT{};
    mis.CtlType = ODT_MENU;
    mis.itemID = ID_TEST_NEW;
    mis.itemData = ItemData(file, 0);
    ASSERT_TRUE(CIconMenu::HandleMeasureItem(&mis));
    EXPECT_EQ(static_cast<int>(mis.itemWidth), TextWidth(bar.GetItemText(file, 0)) + 2 * 16 + 1);
    EXPECT_EQ(static_cast<int>(mis.itemHeight), std::max(cyMenu, 15 + 4));

    mis = MEASUREITEMSTRUCT{};
    mis.CtlType = ODT_MENU;
    mis.itemData = ItemData(file, 4);
    ASSERT_TRUE(CIconMenu::HandleMeasureItem(&mis));
    std::wstring exitText = bar.GetItemText(file, 4);
    std::replace(exitText.begin(), exitText.end(), L'\t', L' ');
    EXPECT_EQ(static_cast<int>(mis.itemWidth), TextWidth(exitText) + 33);

    MEASUREITEMSTRUCT foreign{};
    foreign.CtlType = ODT_MENU;
    foreign.itemData = reinterpret_cast<ULONG_PTR>(&foreign);
    EXPECT_FALSE(CIconMenu::HandleMeasureItem(&foreign)) << "item data that is not ours is left alone";
    foreign.CtlType = ODT_BUTTON;
    foreign.itemData = ItemData(file, 0);
    EXPECT_FALSE(CIconMenu::HandleMeasureItem(&foreign));
}

TEST_F(IconMenuTest, FlatLookItemWithIcon)
{
    const FlatColours colours = ExpectedFlatColours();
    bool handled = false;
    Capture c = DrawOne(file, 0, 0, &handled);
    ASSERT_TRUE(handled);
    EXPECT_EQ(c.At(1, 1), colours.strip);
    EXPECT_EQ(c.At(20, c.height - 2), colours.strip) << "strip is icon width + 5 wide";
    EXPECT_EQ(c.At(21, 1), colours.background);
    EXPECT_EQ(c.At(kItemWidth - 2, c.height / 2), colours.background);
    EXPECT_EQ(c.Count(Rgb(RGB(255, 0, 255)), 0, 0, c.width, c.height), 0) << "the whole item is painted";

    const int iconTop = (c.height - 15) / 2;
    EXPECT_EQ(c.At(3, iconTop), colours.strip) << "the bitmap's grey background is masked out";
    int iconPixels = 0;
    for (int y = iconTop; y < iconTop + 15; ++y)
        for (int x = 3; x < 19; ++x)
            iconPixels += c.At(x, y) != colours.strip;
    EXPECT_GT(iconPixels, 30);
    EXPECT_EQ(c.Count(colours.strip, 0, 0, 3, c.height), 3 * c.height) << "icon 3 pixels from the left";

    const int textLeft = LeftmostColumn(c, SysRgb(COLOR_MENUTEXT), 21);
    EXPECT_GE(textLeft, 25);
    EXPECT_LT(textLeft, 30);
}

TEST_F(IconMenuTest, FlatLookMissingBitmapStillAlignsTheText)
{
    const FlatColours colours = ExpectedFlatColours();
    Capture withIcon = DrawOne(popup, 0, 0);  // "&New"
    Capture without = DrawOne(popup, 1, 0);   // "&Nothing", bitmap missing
    EXPECT_EQ(without.Count(colours.strip, 0, 0, 21, without.height), 21 * without.height) << "empty strip";
    const int a = LeftmostColumn(withIcon, SysRgb(COLOR_MENUTEXT), 21);
    const int b = LeftmostColumn(without, SysRgb(COLOR_MENUTEXT), 21);
    EXPECT_GE(a, 25);
    EXPECT_EQ(a, b);
}

TEST_F(IconMenuTest, FlatLookSelectedItem)
{
    const FlatColours colours = ExpectedFlatColours();
    Capture c = DrawOne(file, 1, ODS_SELECTED);
    EXPECT_EQ(c.At(0, 0), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(c.At(kItemWidth - 1, c.height - 1), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(c.At(1, 1), colours.selected);
    EXPECT_EQ(c.At(kItemWidth - 3, c.height / 2), colours.selected);
}

TEST_F(IconMenuTest, FlatLookDisabledItemIsNeverSelected)
{
    const FlatColours colours = ExpectedFlatColours();
    Capture c = DrawOne(popup, 4, ODS_GRAYED | ODS_SELECTED | ODS_DISABLED);
    EXPECT_NE(c.At(0, 0), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(c.At(kItemWidth - 3, c.height / 2), colours.background);
    EXPECT_EQ(c.Count(SysRgb(COLOR_MENUTEXT), 25, 0, c.width, c.height), 0);
    EXPECT_GT(c.Count(colours.grayText, 25, 0, c.width, c.height), 0);
}

TEST_F(IconMenuTest, FlatLookSeparator)
{
    const FlatColours colours = ExpectedFlatColours();
    Capture c = DrawOne(file, 3, 0);
    const int mid = c.height / 2;
    EXPECT_EQ(c.At(1, mid), colours.strip);
    EXPECT_EQ(c.At(23, mid), colours.background) << "the line starts 4 pixels right of the strip";
    EXPECT_EQ(c.At(26, mid), SysRgb(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(26, mid + 1), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.At(kItemWidth - 2, mid), SysRgb(COLOR_BTNSHADOW));
}

TEST_F(IconMenuTest, FlatLookCheckMarkWithoutIcon)
{
    Capture c = DrawOne(popup, 3, ODS_CHECKED);
    const int iconTop = (c.height - 15) / 2;
    EXPECT_EQ(c.At(2, iconTop - 1), SysRgb(COLOR_HIGHLIGHT)) << "box framed in the highlight colour";
    EXPECT_EQ(c.At(3, iconTop), Rgb(Lighter(::GetSysColor(COLOR_HIGHLIGHT), 85)));
    EXPECT_GT(c.Count(SysRgb(COLOR_MENUTEXT), 3, iconTop, 19, iconTop + 15), 5) << "the tick";
}

TEST_F(IconMenuTest, FlatLookAcceleratorIsRightAligned)
{
    Capture c = DrawOne(file, 4, 0);
    const int right = RightmostColumn(c, SysRgb(COLOR_MENUTEXT));
    EXPECT_LE(right, kItemWidth - 8);
    EXPECT_GT(right, kItemWidth - 20);
    EXPECT_EQ(LeftmostColumn(c, SysRgb(COLOR_MENUTEXT), 21),
              LeftmostColumn(DrawOne(file, 1, 0), SysRgb(COLOR_MENUTEXT), 21) + 0 * 0)
        << "E and D start at the same text position";
}

TEST_F(IconMenuTest, ClassicLook)
{
    ClassicIconMenu classic;
    ASSERT_TRUE(classic.LoadMenu(IDM_TEST_CONTEXT));
    HMENU p = classic.GetSubMenu(0);
    ASSERT_TRUE(classic.SetItemBitmap(ID_TEST_NEW, IDB_NEW));

    Capture plain = DrawOne(p, 0, 0);
    EXPECT_EQ(plain.At(1, 1), SysRgb(COLOR_BTNFACE));
    EXPECT_EQ(plain.At(kItemWidth - 2, 1), SysRgb(COLOR_BTNFACE));

    Capture selected = DrawOne(p, 0, ODS_SELECTED);
    const int iconTop = (selected.height - 15) / 2;
    EXPECT_EQ(selected.At(0, 1), SysRgb(COLOR_BTNFACE)) << "the strip is not filled";
    EXPECT_EQ(selected.At(21 + 1, 1), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(selected.At(1, iconTop - 1), SysRgb(COLOR_BTNHIGHLIGHT)) << "raised frame round the icon";
    EXPECT_EQ(selected.At(1 + 17, iconTop + 15), SysRgb(COLOR_BTNSHADOW));
    EXPECT_GT(selected.Count(SysRgb(COLOR_HIGHLIGHTTEXT), 25, 0, kItemWidth, selected.height), 0);

    Capture selectedNoIcon = DrawOne(p, 1, ODS_SELECTED);
    EXPECT_EQ(selectedNoIcon.At(1, 1), SysRgb(COLOR_HIGHLIGHT)) << "without icon or mark the whole item";

    Capture separator = DrawOne(p, 2, 0);
    EXPECT_EQ(separator.At(1, separator.height / 2), SysRgb(COLOR_BTNSHADOW)) << "line across the whole item";

    Capture checked = DrawOne(p, 3, ODS_CHECKED);
    EXPECT_EQ(checked.At(1, iconTop - 1), SysRgb(COLOR_BTNSHADOW)) << "sunken frame round the mark";

    Capture grayed = DrawOne(p, 4, ODS_GRAYED);
    EXPECT_EQ(grayed.Count(SysRgb(COLOR_MENUTEXT), 25, 0, kItemWidth, grayed.height), 0);
    EXPECT_GT(grayed.Count(SysRgb(COLOR_GRAYTEXT), 25, 0, kItemWidth, grayed.height), 0);
    EXPECT_GT(grayed.Count(SysRgb(COLOR_BTNHIGHLIGHT), 25, 0, kItemWidth, grayed.height), 0) << "embossed";
}

TEST_F(IconMenuTest, DrawRequestsForOtherMenusAreNotOurs)
{
    HMENU plain = ::CreatePopupMenu();
    ::AppendMenuA(plain, MF_OWNERDRAW, 1, reinterpret_cast<LPCSTR>(ItemData(file, 0)));
    gt::MemoryCanvas canvas(50, 20, RGB(1, 2, 3));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.hwndItem = reinterpret_cast<HWND>(plain);
    dis.hDC = canvas.Dc();
    dis.rcItem = RECT{0, 0, 50, 20};
    dis.itemData = ItemData(file, 0);
    EXPECT_FALSE(CIconMenu::HandleDrawItem(&dis)) << "a menu outside the list";
    dis.hwndItem = reinterpret_cast<HWND>(file);
    dis.itemData = 12345;
    EXPECT_FALSE(CIconMenu::HandleDrawItem(&dis)) << "item data that is no record";
    EXPECT_EQ(canvas.Read().At(10, 10), Rgb(RGB(1, 2, 3)));
    ::DestroyMenu(plain);
}

TEST_F(IconMenuTest, MenuCharacters)
{
    EXPECT_EQ(bar.FindMenuChar('x', MF_POPUP, file), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(bar.FindMenuChar('X', MF_POPUP, file), MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(bar.FindMenuChar('d', MF_POPUP, file), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(bar.FindMenuChar('q', MF_POPUP, file), 0);
    EXPECT_EQ(bar.FindMenuChar('x', 0, file), 0) << "only drop-down and popup menus are searched";
    EXPECT_EQ(bar.FindMenuChar('i', MF_POPUP, more), MAKELRESULT(0, MNC_EXECUTE));
    HMENU plain = ::CreatePopupMenu();
    ::AppendMenuA(plain, MF_STRING, 1, "&xray");
    EXPECT_EQ(bar.FindMenuChar('x', MF_POPUP, plain), 0) << "not one of ours";
    ::DestroyMenu(plain);
}

// Windows 95, 98 and ME export DrawTextW and CharLowerBuffW as stubs that fail with
// ERROR_CALL_NOT_IMPLEMENTED. With such stubs in their place the menu draws the same item
// through the ANSI calls and still finds its menu characters in either letter case.
int g_stubDrawCalls = 0;
int g_stubLowerCalls = 0;

int WINAPI DrawTextStub(HDC, LPCWSTR, int, LPRECT, UINT)
{
    ++g_stubDrawCalls;
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

DWORD WINAPI CharLowerBuffStub(LPWSTR, DWORD)
{
    ++g_stubLowerCalls;
    ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

TEST_F(IconMenuTest, WithoutTheWideTextCallsTheAnsiOnesDrawAndMatchTheSame)
{
    const Capture wide = DrawOne(file, 4, 0);  // "E&xit<tab>Alt+F4": text on both sides
    const icon_menu_parts::WideTextCalls real = icon_menu_parts::g_wideTextCalls;
    icon_menu_parts::g_wideTextCalls = {&DrawTextStub, &CharLowerBuffStub};
    const Capture ansi = DrawOne(file, 4, 0);
    const LRESULT upper = bar.FindMenuChar('X', MF_POPUP, file);
    const LRESULT lower = bar.FindMenuChar('d', MF_POPUP, file);
    icon_menu_parts::g_wideTextCalls = real;

    EXPECT_EQ(g_stubDrawCalls, 2) << "the text before and after the tab";
    EXPECT_GT(g_stubLowerCalls, 0);
    EXPECT_GT(wide.Count(SysRgb(COLOR_MENUTEXT), 0, 0, wide.width, wide.height), 20) << "text drawn";
    EXPECT_TRUE(ansi.pixels == wide.pixels) << "the ANSI fallback draws the same pixels";
    EXPECT_EQ(upper, MAKELRESULT(4, MNC_EXECUTE));
    EXPECT_EQ(lower, MAKELRESULT(1, MNC_EXECUTE));
}

TEST_F(IconMenuTest, MenuCharacterFindsItemsAddedSince)
{
    ASSERT_TRUE(::AppendMenuA(file, MF_STRING, 40009, "&Zebra"));
    EXPECT_EQ(bar.FindMenuChar('z', MF_POPUP, file), MAKELRESULT(5, MNC_EXECUTE));
    EXPECT_TRUE(ItemType(file, 5) & MFT_OWNERDRAW);
    EXPECT_EQ(bar.GetItemText(file, 5), L"&Zebra");
}

TEST_F(IconMenuTest, UpdatingAPopupTakesInRetitledAddedAndRemovedItems)
{
    ASSERT_TRUE(::ModifyMenuA(file, 0, MF_BYPOSITION | MF_STRING, ID_TEST_NEW, "&Renewed"));
    EXPECT_FALSE(ItemType(file, 0) & MFT_OWNERDRAW);
    bar.UpdatePopup(file);
    EXPECT_TRUE(ItemType(file, 0) & MFT_OWNERDRAW);
    EXPECT_EQ(bar.GetItemText(file, 0), L"&Renewed");
    EXPECT_EQ(BeforeTab(bar.GetItemText(file, 4)).find(L"E&xit"), 0u)
        << "records of untouched items are kept";
    EXPECT_TRUE(bar.ItemHasIcon(file, 4));

    ASSERT_TRUE(::AppendMenuA(more, MF_STRING, 40010, "&Outer"));
    bar.UpdatePopup(tools);
    EXPECT_TRUE(ItemType(more, 1) & MFT_OWNERDRAW) << "submenus are brought up to date too";
    EXPECT_EQ(bar.GetItemText(more, 1), L"&Outer");

    ASSERT_TRUE(::DeleteMenu(file, 1, MF_BYPOSITION));
    bar.UpdatePopup(file);
    EXPECT_EQ(bar.GetItemText(file, 4), L"") << "no record for a position that is gone";
    EXPECT_EQ(bar.GetItemText(file, 3).find(L"E&xit"), 0u);
    EXPECT_EQ(bar.FindMenuChar('x', MF_POPUP, file), MAKELRESULT(3, MNC_EXECUTE));
}

TEST_F(IconMenuTest, AnsiTextsAreConvertedWithTheThreadCodePage)
{
    const char ansi[] = "Caf\xe9";
    ASSERT_TRUE(::ModifyMenuA(file, 2, MF_BYPOSITION | MF_STRING, ID_TEST_SHORTCUT, ansi));
    bar.UpdatePopup(file);
    wchar_t expected[16] = {};
    ASSERT_GT(::MultiByteToWideChar(CP_THREAD_ACP, 0, ansi, -1, expected, 16), 0);
    EXPECT_EQ(bar.GetItemText(file, 2), std::wstring(expected));
}

// A real popup menu: the owner forwards measuring, drawing and menu characters; a
// typed "x" runs Exit through WM_MENUCHAR because owner-drawn items have no text of
// their own for the system to search.
TEST_F(IconMenuTest, TrackPopupMenuDrawsItemsAndAnswersMenuCharacters)
{
    gt::HostDialog host;
    ASSERT_TRUE(host.Create("Menu owner", 160, 60, 400, 300));
    bool shot = false;
    host.onTimer = [&](UINT_PTR id) {
        if (id == 1) {
            ::KillTimer(host.Hwnd(), 1);
            HWND menuWindow = ::FindWindowA("#32768", nullptr);
            if (menuWindow)
                shot = gt::SaveWindowScreenshot(menuWindow, "icon_menu_popup");
            ::PostMessageA(host.Hwnd(), WM_CHAR, 'x', 0);
        } else if (id == 2) {
            ::KillTimer(host.Hwnd(), 2);
            ::EndMenu();  // the safety net: never leave the menu open
        }
    };
    ::SetTimer(host.Hwnd(), 1, 400, nullptr);
    ::SetTimer(host.Hwnd(), 2, 8000, nullptr);
    UINT command = static_cast<UINT>(
        ::TrackPopupMenu(file, TPM_RETURNCMD | TPM_RIGHTBUTTON, 420, 340, 0, host.Hwnd(), nullptr));
    ::KillTimer(host.Hwnd(), 2);
    EXPECT_EQ(command, static_cast<UINT>(ID_TEST_EXIT));
    EXPECT_GE(host.menuMeasureRequests, 5);
    EXPECT_GE(host.menuDrawRequests, 5);
    EXPECT_TRUE(shot);
}

// Every item in both looks paints its whole rectangle (the canvas's magenta never shows
// through); saved as one picture to look at.
TEST_F(IconMenuTest, PictureOfBothLooks)
{
    ClassicIconMenu classic;
    ASSERT_TRUE(classic.LoadMenu(IDM_TEST_MENU));
    HMENU classicFile = classic.GetSubMenu(0);
    for (UINT id : {ID_TEST_NEW, ID_TEST_DELETE, ID_TEST_SHORTCUT, ID_TEST_EXIT})
        classic.SetItemBitmap(id, id == ID_TEST_NEW        ? IDB_NEW
                                  : id == ID_TEST_DELETE   ? IDB_DELETE
                                  : id == ID_TEST_SHORTCUT ? IDB_CREATE_SHORTCUT
                                                           : IDB_EXIT);
    std::vector<Capture> parts;
    for (HMENU m : {file, classicFile}) {
        for (int i = 0; i < ::GetMenuItemCount(m); ++i)
            parts.push_back(DrawOne(m, i, i == 1 ? ODS_SELECTED : 0));
        parts.push_back(Capture());
    }
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i)
        parts.push_back(DrawOne(popup, i, i == 3 ? ODS_CHECKED : i == 4 ? ODS_GRAYED : 0));
    Capture sheet;
    sheet.width = kItemWidth;
    for (const Capture& p : parts) {
        sheet.height += p.height ? p.height : 6;
        EXPECT_EQ(p.Count(0xFF00FF, 0, 0, p.width, p.height), 0) << "item at row " << sheet.height;
    }
    sheet.pixels.assign(static_cast<size_t>(sheet.width) * static_cast<size_t>(sheet.height), 0x808080);
    int y0 = 0;
    for (const Capture& p : parts) {
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                sheet.pixels[static_cast<size_t>(y0 + y) * static_cast<size_t>(sheet.width)
                             + static_cast<size_t>(x)] = p.At(x, y);
        y0 += p.height ? p.height : 6;
    }
    EXPECT_TRUE(gt::SaveCapture(sheet, "icon_menu_items"));
}

}  // namespace
