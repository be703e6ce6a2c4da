// CIconButton: an owner-drawn button with an icon beside its caption, a flat face
// that shows a border only under the mouse, and an icon that brightens under the
// mouse (a darkened copy is shown otherwise). Dialogs bind it to their push buttons
// and push-like check boxes; a check box keeps its own tick state.
#pragma once

#include "gui/logic/icon_button_look.h"
#include "framework/button.h"

class CIconButton : public CButton {
public:
    // Second-icon choice of SetIcon.
    enum SecondIcon { kNoSecondIcon = 0, kDarkened = -3 };

    CIconButton();
    ~CIconButton() override;
    CIconButton(const CIconButton&) = delete;
    CIconButton& operator=(const CIconButton&) = delete;

    void SetFlat(bool flat = true, bool repaint = true);
    void DrawBorder(bool border = true, bool repaint = true);
    void DrawFlatFocus(bool flatFocus, bool repaint = true);

    // Loads the icon resource, sized for 96 DPI (width and height 0: the icon's own
    // size; at another DPI the image nearest to the scaled size) and, for
    // kDarkened, a darkened copy as second icon. The icons set before are destroyed.
    // False when the icon could not be loaded (the button then has no icon).
    bool SetIcon(UINT resourceId, int width, int height, int secondIcon);
    bool SetIcon(UINT resourceId, int secondIcon) { return SetIcon(resourceId, 0, 0, secondIcon); }

    bool IsFlat() const { return m_flat; }
    bool IsMouseOver() const { return m_mouseOver; }
    bool IsCheckBox() const { return m_checkBox; }
    bool IsDefaultButton() const { return m_default; }
    HICON GetFirstIcon() const { return m_first.handle; }
    HICON GetSecondIcon() const { return m_second.handle; }
    SIZE GetIconSize() const { return SIZE{m_first.width, m_first.height}; }

    bool OnChildNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    bool PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void PostNcDestroy() override;

private:
    struct Icon {
        HICON handle = nullptr;
        int width = 0;
        int height = 0;
    };
    struct ColourPair {
        COLORREF background;
        COLORREF text;
    };

    void OnMouseMove(WPARAM wp, LPARAM lp);
    void CancelHover();
    void ResetColours();
    void FreeIcons();
    void DrawItem(const DRAWITEMSTRUCT& item) const;
    void DrawIcon(HDC dc, const RECT& itemRect, bool hasCaption, const gui_logic::IconButtonLook& look,
                  bool disabled) const;
    void DrawCaption(HDC dc, const RECT& itemRect, const std::string& caption,
                     const gui_logic::IconButtonLook& look, bool disabled) const;
    const ColourPair& PairFor(gui_logic::ColourPair which) const;

    bool m_flat = true;
    bool m_border = true;
    bool m_flatFocus = false;
    bool m_mouseOver = false;
    bool m_checkBox = false;
    int m_tick = 0;
    bool m_default = false;
    Icon m_first;
    Icon m_second;
    ColourPair m_colours[3];  // under the mouse or pressed, normal, focused
    int m_margin = 3;
    POINT m_pressedOffset{1, 1};
};
