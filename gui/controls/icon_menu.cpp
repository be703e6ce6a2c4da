// CIconMenu's menus and item records: building from a template, icons, the item
// records' upkeep before a popup opens, menu characters. Measuring and drawing are in
// icon_menu_draw.cpp.
#include "controls/icon_menu.h"

#include "controls/icon_menu_parts.h"
#include "controls/menu_code_page.h"
#include "framework/dpi.h"
#include "framework/win_app.h"
#include "gui/logic/menu_item_text.h"

#include <algorithm>
#include <cstddef>
#include <utility>

using icon_menu_parts::kMenuItemInfoSize;
using icon_menu_parts::MenuFontDC;
using icon_menu_parts::ToU16;
using icon_menu_parts::ToWide;

namespace {

// Submenus nested deeper than this are not walked (a menu that contains itself
// would otherwise never end the walk).
constexpr int kMaxMenuDepth = 16;

struct Registration {
    HMENU menu;
    CIconMenu* owner;
};

// Menus are registered on the GUI thread only.
std::vector<Registration> g_menuList;

std::vector<Registration>& MenuList() { return g_menuList; }

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

CIconMenu::CIconMenu()
    : m_iconWidth(ScaledPixels(16)),
      m_iconHeight(ScaledPixels(15)),
      m_maskColour(::GetSysColor(COLOR_BTNFACE))
{}

CIconMenu::~CIconMenu() { FreeAll(); }

void CIconMenu::FreeAll()
{
    std::vector<Registration>& list = MenuList();
    list.erase(
        std::remove_if(list.begin(), list.end(), [this](const Registration& r) { return r.owner == this; }),
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

bool CIconMenu::IsIconMenu(HMENU menu) { return FromHandle(menu) != nullptr; }

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
    return static_cast<int>(
        std::count_if(m_items.begin(), m_items.end(),
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
    if (!gui_logic::ParseMenuTemplate(static_cast<const unsigned char*>(data),
                                      ::SizeofResource(instance, found), &items)) {
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
        gui_logic::PadBeforeTabs(&texts,
                                 [&measure](const std::u16string& t) { return measure.Width(ToWide(t)); });
    }

    const UINT stateMask = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBREAK | MF_MENUBARBREAK | MF_HELP;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const gui_logic::MenuTemplateItem& source = items[i];
        const WideText text = ToWide(texts[i]);
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
        // Drawn for 96 DPI: stretched to the icon size of the display's DPI.
        HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP,
                                                           m_iconWidth, m_iconHeight, load));
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
                if (::GetMenuStringA(popup, static_cast<UINT>(position), text, static_cast<int>(sizeof text),
                                     MF_BYPOSITION)
                    > 0)
                    AnsiToWide(text, codePage, &record->text);
            }
        }
        record->menu = popup;
        record->position = position;
        record->id = submenu ? 0 : ::GetMenuItemID(popup, position);
        record->flags = MF_OWNERDRAW | (state & keepFlags) | (submenu ? MF_POPUP : 0)
                        | (record->separator ? MF_SEPARATOR : 0);
        record->refreshed = true;
        // Owner-drawn again, with the same command or submenu and the same state.
        ::ModifyMenuA(popup, static_cast<UINT>(position), MF_BYPOSITION | record->flags,
                      submenu ? reinterpret_cast<UINT_PTR>(submenu) : record->id,
                      reinterpret_cast<LPCSTR>(record));
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
        WideText wide;
        if (AnsiToWide(std::string(1, ansi), MenuTextCodePage(), &wide) && wide.size() == 1)
            typed = wide[0];
    }
    WideText typedText(1, typed);
    icon_menu_parts::LowerMenuText(&typedText);
    typed = typedText.size() == 1 ? typedText[0] : typed;

    std::vector<std::u16string> lowered;
    for (int position = 0; position < count; ++position) {
        const Item* item = RecordAt(menu, position);
        WideText text = item ? item->text : WideText();
        icon_menu_parts::LowerMenuText(&text);
        lowered.push_back(ToU16(text));
    }
    int found = gui_logic::FindMenuCharacter(lowered, static_cast<char16_t>(typed));
    if (found < 0)
        return MAKELRESULT(0, MNC_IGNORE);
    return MAKELRESULT(found, MNC_EXECUTE);
}

namespace icon_menu_parts {

WideTextCalls g_wideTextCalls = {&::DrawTextW, &::CharLowerBuffW};

int DrawMenuText(HDC dc, const WideText& text, RECT* rect, UINT format)
{
    ::SetLastError(ERROR_SUCCESS);
    const int height =
        g_wideTextCalls.drawText(dc, text.c_str(), static_cast<int>(text.size()), rect, format);
    if (height != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return height;
    std::string ansi;
    if (!WideToAnsi(text, MenuTextCodePage(), &ansi))
        return 0;
    return ::DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), rect, format);
}

void LowerMenuText(WideText* text)
{
    if (text->empty())
        return;
    ::SetLastError(ERROR_SUCCESS);
    const DWORD done = g_wideTextCalls.charLowerBuff(&(*text)[0], static_cast<DWORD>(text->size()));
    if (done != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return;
    const UINT codePage = MenuTextCodePage();
    std::string ansi;
    WideText lowered;
    if (!WideToAnsi(*text, codePage, &ansi) || ansi.empty())
        return;
    ::CharLowerBuffA(&ansi[0], static_cast<DWORD>(ansi.size()));
    if (AnsiToWide(ansi, codePage, &lowered))
        *text = lowered;
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

MenuFontDC::MenuFontDC() : m_dc(::GetDC(nullptr)), m_font(CreateMenuFont())
{
    if (m_dc && m_font)
        m_old = ::SelectObject(m_dc, m_font);
}

MenuFontDC::~MenuFontDC()
{
    if (m_old)
        ::SelectObject(m_dc, m_old);
    if (m_font)
        ::DeleteObject(m_font);
    if (m_dc)
        ::ReleaseDC(nullptr, m_dc);
}

int MenuFontDC::Width(const WideText& text) const
{
    SIZE size{};
    if (!m_dc || text.empty()
        || !::GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}

}  // namespace icon_menu_parts
