#include "controls/icon_menu.h"

#include "gui/logic/colour_math.h"
#include "controls/menu_code_page.h"
#include "gui/logic/menu_item_layout.h"
#include "gui/logic/menu_item_text.h"
#include "framework/win_app.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

// Submenus nested deeper than this are not walked (a menu that contains itself
// would otherwise never end the walk).
constexpr int kMaxMenuDepth = 16;

struct Registration {
    HMENU menu;
    CIconMenu* owner;
};

std::vector<Registration>& MenuList()
{
    static std::vector<Registration> list;
    return list;
}

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

unsigned long WindowsMajorVersion()
{
    static unsigned long major = [] {
        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;
        return ::GetVersionExA(&version) ? version.dwMajorVersion : 6ul;
    }();
    return major;
}

// The menu font of the non-client metrics. The ANSI calls and the structure sizes of
// the first versions keep this working on Windows 95 and NT 4 as well.
HFONT CreateMenuFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = CCSIZEOF_STRUCT(NONCLIENTMETRICSA, lfMessageFont);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return nullptr;
    return ::CreateFontIndirectA(&metrics.lfMenuFont);
}

// MENUITEMINFO as Windows 95 and NT 4 know it (without hbmpItem).
constexpr UINT kMenuItemInfoSize = offsetof(MENUITEMINFOA, hbmpItem);

// The item data of an owner-drawn item; 0 for any other item (an item retitled with
// ModifyMenu keeps its old item data but is no longer owner-drawn).
ULONG_PTR OwnerDrawData(HMENU menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize;
    info.fMask = MIIM_TYPE | MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
        return 0;
    return info.dwItemData;
}

// A screen DC with the menu font selected, for measuring.
class MenuFontDC {
public:
    MenuFontDC() : m_dc(::GetDC(nullptr)), m_font(CreateMenuFont())
    {
        if (m_dc && m_font)
            m_old = ::SelectObject(m_dc, m_font);
    }
    ~MenuFontDC()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_font)
            ::DeleteObject(m_font);
        if (m_dc)
            ::ReleaseDC(nullptr, m_dc);
    }
    MenuFontDC(const MenuFontDC&) = delete;
    MenuFontDC& operator=(const MenuFontDC&) = delete;

    int Width(const std::wstring& text) const
    {
        SIZE size{};
        if (!m_dc || text.empty() || !::GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size))
            return 0;
        return size.cx;
    }

private:
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_old = nullptr;
};

void FillSolid(HDC dc, const RECT& r, COLORREF colour)
{
    COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    FillSolid(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    FillSolid(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillSolid(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

void FrameSolid(HDC dc, const RECT& r, COLORREF colour)
{
    Draw3dRect(dc, r, colour, colour);
}

// True when the bitmap resource is a 16-colour bitmap.
bool IsSixteenColourBitmap(HINSTANCE instance, UINT bitmapId)
{
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!found)
        return false;
    HGLOBAL loaded = ::LoadResource(instance, found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    DWORD size = ::SizeofResource(instance, found);
    if (!data || size < sizeof(BITMAPCOREHEADER))
        return false;
    const auto* core = static_cast<const BITMAPCOREHEADER*>(data);
    if (core->bcSize == sizeof(BITMAPCOREHEADER))
        return core->bcBitCount == 4;
    if (size < sizeof(BITMAPINFOHEADER))
        return false;
    return static_cast<const BITMAPINFOHEADER*>(data)->biBitCount == 4;
}

}  // namespace

CIconMenu::CIconMenu() : m_maskColour(::GetSysColor(COLOR_BTNFACE)) {}

CIconMenu::~CIconMenu()
{
    FreeAll();
}

void CIconMenu::FreeAll()
{
    std::vector<Registration>& list = MenuList();
    list.erase(std::remove_if(list.begin(), list.end(), [this](const Registration& r) { return r.owner == this; }),
               list.end());
    m_menus.clear();
    for (const std::unique_ptr<Item>& item : m_items) {
        if (item->images)
            ImageList_Destroy(item->images);
    }
    m_items.clear();
}

void CIconMenu::Register(HMENU menu)
{
    if (!menu || std::find(m_menus.begin(), m_menus.end(), menu) != m_menus.end())
        return;
    m_menus.push_back(menu);
    MenuList().push_back(Registration{menu, this});
}

bool CIconMenu::IsIconMenu(HMENU menu)
{
    return FromHandle(menu) != nullptr;
}

CIconMenu* CIconMenu::FromHandle(HMENU menu)
{
    if (!menu)
        return nullptr;
    for (const Registration& r : MenuList()) {
        if (r.menu == menu)
            return r.owner;
    }
    return nullptr;
}

bool CIconMenu::HandleMeasureItem(MEASUREITEMSTRUCT* item)
{
    if (!item || item->CtlType != ODT_MENU)
        return false;
    for (const Registration& r : MenuList()) {
        if (r.owner->OwnRecord(item->itemData)) {
            r.owner->MeasureItem(item);
            return true;
        }
    }
    return false;
}

bool CIconMenu::HandleDrawItem(DRAWITEMSTRUCT* item)
{
    if (!item || item->CtlType != ODT_MENU)
        return false;
    CIconMenu* owner = FromHandle(reinterpret_cast<HMENU>(item->hwndItem));
    if (!owner || !owner->OwnRecord(item->itemData))
        return false;
    owner->DrawItem(item);
    return true;
}

CIconMenu::Item* CIconMenu::OwnRecord(ULONG_PTR data) const
{
    if (!data)
        return nullptr;
    for (const std::unique_ptr<Item>& item : m_items) {
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data)
            return item.get();
    }
    return nullptr;
}

CIconMenu::Item* CIconMenu::RecordAt(HMENU menu, int position) const
{
    for (const std::unique_ptr<Item>& item : m_items) {
        if (item->menu == menu && item->position == position)
            return item.get();
    }
    return nullptr;
}

int CIconMenu::RecordCount(HMENU menu) const
{
    return static_cast<int>(std::count_if(m_items.begin(), m_items.end(),
                                          [menu](const std::unique_ptr<Item>& item) { return item->menu == menu; }));
}

CIconMenu::Item* CIconMenu::NewRecord()
{
    m_items.push_back(std::make_unique<Item>());
    return m_items.back().get();
}

void CIconMenu::DeleteRecordsOf(HMENU menu, bool onlyStale)
{
    auto gone = [menu, onlyStale](const std::unique_ptr<Item>& item) {
        return item->menu == menu && (!onlyStale || !item->refreshed);
    };
    for (const std::unique_ptr<Item>& item : m_items) {
        if (gone(item) && item->images)
            ImageList_Destroy(item->images);
    }
    m_items.erase(std::remove_if(m_items.begin(), m_items.end(), gone), m_items.end());
}

std::wstring CIconMenu::GetItemText(HMENU menu, int position) const
{
    const Item* item = RecordAt(menu, position);
    return item ? item->text : std::wstring();
}

bool CIconMenu::ItemHasIcon(HMENU menu, int position) const
{
    const Item* item = RecordAt(menu, position);
    return item && item->images;
}

bool CIconMenu::LoadMenu(UINT resourceId)
{
    DestroyMenu();
    FreeAll();

    HINSTANCE instance = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(4) /* RT_MENU */);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return false;
    std::vector<gui_logic::MenuTemplateItem> items;
    if (!gui_logic::ParseMenuTemplate(static_cast<const unsigned char*>(data), ::SizeofResource(instance, found),
                                           &items)) {
        ::SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    if (!CreateMenu())
        return false;
    Register(m_hMenu);
    if (!BuildLevel(m_hMenu, items, true)) {
        DWORD error = ::GetLastError();
        DestroyMenu();
        FreeAll();
        ::SetLastError(error);
        return false;
    }
    return true;
}

bool CIconMenu::BuildLevel(HMENU menu, const std::vector<gui_logic::MenuTemplateItem>& items, bool barLevel)
{
    std::vector<std::u16string> texts;
    texts.reserve(items.size());
    for (const gui_logic::MenuTemplateItem& item : items)
        texts.push_back(item.IsSeparator() ? std::u16string() : item.text);
    if (!barLevel) {
        MenuFontDC measure;
        gui_logic::PadBeforeTabs(&texts, [&measure](const std::u16string& t) { return measure.Width(ToWide(t)); });
    }

    const UINT stateMask = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK | MF_HELP;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const gui_logic::MenuTemplateItem& source = items[i];
        const std::wstring text = ToWide(texts[i]);
        UINT flags = source.flags & stateMask;
        UINT_PTR idOrMenu = source.id;
        if (source.IsPopup()) {
            HMENU popup = ::CreatePopupMenu();
            if (!popup)
                return false;
            Register(popup);
            if (!BuildLevel(popup, source.children, false)) {
                ::DestroyMenu(popup);
                return false;
            }
            flags |= MF_POPUP;
            idOrMenu = reinterpret_cast<UINT_PTR>(popup);
        }
        BOOL appended;
        if (barLevel) {
            // The menu bar's own entries stay text items drawn by the system, so that
            // Alt and their underlined letters keep working.
            std::string ansi;
            WideToAnsi(text, MenuTextCodePage(), &ansi);
            appended = source.IsSeparator() ? ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr)
                                            : ::AppendMenuA(menu, flags | MF_STRING, idOrMenu, ansi.c_str());
        } else {
            Item* record = NewRecord();
            record->text = text;
            record->id = source.IsPopup() ? 0 : source.id;
            record->position = static_cast<int>(i);
            record->flags = flags | MF_OWNERDRAW | (source.IsSeparator() ? MF_SEPARATOR : 0);
            record->menu = menu;
            record->separator = source.IsSeparator();
            appended = ::AppendMenuA(menu, record->flags, idOrMenu, reinterpret_cast<LPCSTR>(record));
        }
        if (!appended) {
            if (source.IsPopup())
                ::DestroyMenu(reinterpret_cast<HMENU>(idOrMenu));
            return false;
        }
    }
    return true;
}

bool CIconMenu::SetItemBitmap(UINT commandId, UINT bitmapId)
{
    std::vector<Item*> targets;
    for (const std::unique_ptr<Item>& item : m_items) {
        if (!item->separator && item->id == commandId && !(item->flags & MF_POPUP))
            targets.push_back(item.get());
    }
    if (targets.empty())
        return false;

    HINSTANCE instance = AfxGetResourceHandle();
    UINT load = LR_DEFAULTCOLOR;
    if (IsSixteenColourBitmap(instance, bitmapId))
        load |= LR_LOADMAP3DCOLORS;
    bool all = true;
    for (Item* item : targets) {
        if (item->images) {
            ImageList_Destroy(item->images);
            item->images = nullptr;
        }
        item->bitmapId = 0;
        HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, load));
        if (!bitmap) {
            all = false;
            continue;
        }
        HIMAGELIST images = ImageList_Create(m_iconWidth, m_iconHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
        if (images && ImageList_AddMasked(images, bitmap, m_maskColour) >= 0) {
            item->images = images;
            item->bitmapId = bitmapId;
        } else {
            if (images)
                ImageList_Destroy(images);
            all = false;
        }
        ::DeleteObject(bitmap);
    }
    return all;
}

void CIconMenu::UpdatePopup(HMENU popup)
{
    if (!FromHandle(popup))
        return;
    UpdateLevel(popup, 0);
}

void CIconMenu::UpdateLevel(HMENU popup, int depth)
{
    if (depth > kMaxMenuDepth)
        return;
    Register(popup);
    int count = ::GetMenuItemCount(popup);
    if (count < 0)
        return;
    for (const std::unique_ptr<Item>& item : m_items) {
        if (item->menu == popup)
            item->refreshed = false;
    }
    const UINT codePage = MenuTextCodePage();
    const UINT keepFlags = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK;
    for (int position = 0; position < count; ++position) {
        const UINT state = ::GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION);
        if (state == static_cast<UINT>(-1))
            continue;
        HMENU submenu = ::GetSubMenu(popup, position);
        Item* record = OwnRecord(OwnerDrawData(popup, position));
        if (!record) {
            record = NewRecord();
            record->separator = !submenu && (state & MF_SEPARATOR);
            if (!record->separator) {
                char text[512] = {};
                if (::GetMenuStringA(popup, static_cast<UINT>(position), text, static_cast<int>(sizeof text), MF_BYPOSITION) > 0)
                    AnsiToWide(text, codePage, &record->text);
            }
        }
        record->menu = popup;
        record->position = position;
        record->id = submenu ? 0 : ::GetMenuItemID(popup, position);
        record->flags = MF_OWNERDRAW | (state & keepFlags) | (submenu ? MF_POPUP : 0) |
                        (record->separator ? MF_SEPARATOR : 0);
        record->refreshed = true;
        // Owner-drawn again, with the same command or submenu and the same state.
        ::ModifyMenuA(popup, static_cast<UINT>(position), MF_BYPOSITION | record->flags,
                      submenu ? reinterpret_cast<UINT_PTR>(submenu) : record->id, reinterpret_cast<LPCSTR>(record));
        if (submenu)
            UpdateLevel(submenu, depth + 1);
    }
    DeleteRecordsOf(popup, true);
}

LRESULT CIconMenu::FindMenuChar(UINT character, UINT flags, HMENU menu)
{
    if (!(flags & MF_POPUP) || !FromHandle(menu))
        return MAKELRESULT(0, MNC_IGNORE);
    int count = ::GetMenuItemCount(menu);
    if (count < 0)
        return MAKELRESULT(0, MNC_IGNORE);
    if (count != RecordCount(menu))
        UpdatePopup(menu);

    wchar_t typed = static_cast<wchar_t>(character & 0xffff);
    if (character < 0x100 && character >= 0x80) {
        char ansi = static_cast<char>(character);
        std::wstring wide;
        if (AnsiToWide(std::string(1, ansi), MenuTextCodePage(), &wide) && wide.size() == 1)
            typed = wide[0];
    }
    ::CharLowerBuffW(&typed, 1);

    std::vector<std::u16string> lowered;
    for (int position = 0; position < count; ++position) {
        const Item* item = RecordAt(menu, position);
        std::wstring text = item ? item->text : std::wstring();
        if (!text.empty())
            ::CharLowerBuffW(&text[0], static_cast<DWORD>(text.size()));
        lowered.push_back(ToU16(text));
    }
    int found = gui_logic::FindMenuCharacter(lowered, static_cast<char16_t>(typed));
    if (found < 0)
        return MAKELRESULT(0, MNC_IGNORE);
    return MAKELRESULT(found, MNC_EXECUTE);
}

void CIconMenu::MeasureItem(MEASUREITEMSTRUCT* item)
{
    const Item* record = item ? OwnRecord(item->itemData) : nullptr;
    if (!record)
        return;
    int textWidth = 0;
    if (!record->separator) {
        std::wstring text = record->text;
        std::replace(text.begin(), text.end(), L'\t', L' ');
        MenuFontDC measure;
        textWidth = measure.Width(text);
    }
    gui_logic::MenuItemSize size = gui_logic::MeasureMenuItem(
        record->separator, textWidth, ::GetSystemMetrics(SM_CYMENU), m_iconWidth, m_iconHeight);
    item->itemWidth = static_cast<UINT>(size.width);
    item->itemHeight = static_cast<UINT>(size.height);
}

bool CIconMenu::UseClassicLook(HDC dc) const
{
    return (::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0;
}

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
    const std::wstring before = ToWide(gui_logic::TextBeforeTab(full));
    const std::wstring after = ToWide(gui_logic::TextAfterTab(full));
    ::DrawTextW(dc, before.c_str(), static_cast<int>(before.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
    if (!after.empty())
        ::DrawTextW(dc, after.c_str(), static_cast<int>(after.size()), &text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | prefix);
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
            ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(mark), 0, x, y, bm.bmWidth, bm.bmHeight,
                         DST_BITMAP | DSS_NORMAL);
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
    const COLORREF base = gui_logic::MenuStripUsesButtonFace(WindowsMajorVersion()) ? ::GetSysColor(COLOR_BTNFACE)
                                                                                         : menuColour;
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
    const int iconLeft = rect.left + gui_logic::MenuIconLeft(true);
    const int iconTop = gui_logic::MenuIconTop(rect.top, height, m_iconHeight);
    if (item.images) {
        if (grayed) {
            HICON icon = ImageList_GetIcon(item.images, 0, ILD_NORMAL);
            if (icon) {
                ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, iconLeft, iconTop, m_iconWidth,
                             m_iconHeight, DST_ICON | DSS_DISABLED);
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
    const int iconLeft = rect.left + gui_logic::MenuIconLeft(false);
    const int iconTop = gui_logic::MenuIconTop(rect.top, height, m_iconHeight);
    RECT frame{iconLeft - 1, iconTop - 1, iconLeft + m_iconWidth + 1, iconTop + m_iconHeight + 1};
    if (item.images) {
        HICON icon = ImageList_GetIcon(item.images, 0, ILD_NORMAL);
        if (icon) {
            ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, iconLeft, iconTop, m_iconWidth,
                         m_iconHeight, DST_ICON | (grayed ? DSS_DISABLED : DSS_NORMAL));
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
