// CIconMenu: a menu whose items the program draws itself, each with a small bitmap
// icon in a strip at the left of its text. The menu bar's own entries stay ordinary
// text items (so Alt and the underlined letters keep working there); every item of a
// drop-down or popup menu is owner-drawn with an item record as its item data.
//
// All menus made by the class are kept in one process-wide list; only menus in that
// list are measured, drawn and searched. The owner window forwards WM_MEASUREITEM,
// WM_DRAWITEM, WM_INITMENUPOPUP and WM_MENUCHAR (see the static helpers).
#pragma once

#include "controls/menu_code_page.h"

#include "gui/logic/menu_template.h"
#include "framework/menu.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class CIconMenu : public CMenu {
public:
    CIconMenu();
    ~CIconMenu() override;

    // Reads the menu template and builds the menu anew (CreateMenu/CreatePopupMenu).
    // The text before the tab of each popup item is padded with blanks so that the
    // accelerator texts after the tabs line up.
    bool LoadMenu(UINT resourceId);

    // Gives the items with this command id the bitmap as icon (a 16-colour bitmap gets
    // its standard greys mapped to the current 3D colours first; the mask colour is
    // transparent). False when the bitmap cannot be loaded: the item has no icon then.
    bool SetItemBitmap(UINT commandId, UINT bitmapId);

    // WM_INITMENUPOPUP: gives every item of the popup (and of its submenus) a record and
    // makes it owner-drawn again, so items added or retitled since are drawn too.
    void UpdatePopup(HMENU popup);

    // WM_MENUCHAR: in a drop-down or popup menu (MF_POPUP in flags) the first item whose
    // lower-cased text contains "&" and the lower-cased character is executed
    // (MNC_EXECUTE with its position); otherwise 0 (MNC_IGNORE).
    LRESULT FindMenuChar(UINT character, UINT flags, HMENU menu);

    void MeasureItem(MEASUREITEMSTRUCT* item) override;
    void DrawItem(DRAWITEMSTRUCT* item) override;

    // Process-wide list of the menus made by the class.
    static bool IsIconMenu(HMENU menu);
    static CIconMenu* FromHandle(HMENU menu);
    // For the owner window: measures or draws the item when it belongs to any live
    // CIconMenu; false otherwise (the message is then not ours).
    static bool HandleMeasureItem(MEASUREITEMSTRUCT* item);
    static bool HandleDrawItem(DRAWITEMSTRUCT* item);

    int GetIconWidth() const { return m_iconWidth; }
    int GetIconHeight() const { return m_iconHeight; }
    // Text of the item record at a position of one of the menus (empty when none).
    std::wstring GetItemText(HMENU menu, int position) const;
    bool ItemHasIcon(HMENU menu, int position) const;

protected:
    // The classic look on a display with a palette, the flat look otherwise.
    virtual bool UseClassicLook(HDC dc) const;

private:
    struct Item {
        WideText text;
        UINT id = 0;
        int position = 0;
        UINT flags = MF_OWNERDRAW;
        UINT bitmapId = 0;
        HIMAGELIST images = nullptr;
        HMENU menu = nullptr;
        bool separator = false;
        bool refreshed = false;
    };

    Item* OwnRecord(ULONG_PTR data) const;
    Item* RecordAt(HMENU menu, int position) const;
    int RecordCount(HMENU menu) const;
    Item* NewRecord();
    void DeleteRecordsOf(HMENU menu, bool onlyStale);
    void FreeAll();
    void Register(HMENU menu);
    bool BuildLevel(HMENU menu, const std::vector<gui_logic::MenuTemplateItem>& items, bool barLevel);
    void UpdateLevel(HMENU popup, int depth);

    void DrawFlat(HDC dc, const RECT& rect, const Item& item, UINT state, HMENU menu) const;
    void DrawClassic(HDC dc, const RECT& rect, const Item& item, UINT state, HMENU menu) const;
    void DrawCheckMark(HDC dc, const RECT& box, HMENU menu, const Item& item, COLORREF colour) const;
    void DrawItemText(HDC dc, const RECT& rect, const Item& item, COLORREF colour, UINT state) const;

    std::vector<std::unique_ptr<Item>> m_items;
    std::vector<HMENU> m_menus;  // every menu this object made, the top one first
    int m_iconWidth = 16;        // 16 x 15 at 96 DPI, scaled to the display
    int m_iconHeight = 15;
    COLORREF m_maskColour;
};
