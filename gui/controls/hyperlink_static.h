// CHyperlinkStatic: turns a static text control of a dialog template into a link.
// The caption is drawn in blue with an underlined copy of the dialog's font; over the
// text the mouse shows the hand cursor, and a click on the text hands the link target
// to the shell ("open"). The text rectangle is measured once per binding, after the
// first paint has created the font: until then clicks and cursor changes do nothing.
// The control has no visited state, no keyboard handling and no tool tip of its own.
#pragma once

#include "framework/static_ctrl.h"

#include <string>

class CHyperlinkStatic : public CStatic {
public:
    CHyperlinkStatic();
    ~CHyperlinkStatic() override;
    CHyperlinkStatic(const CHyperlinkStatic&) = delete;
    CHyperlinkStatic& operator=(const CHyperlinkStatic&) = delete;

    // The text handed to the shell on a click; the caption stays as it is.
    void SetLinkTarget(const char* target) { m_linkTarget = target ? target : ""; }
    const std::string& GetLinkTarget() const { return m_linkTarget; }
    const std::string& GetCaption() const { return m_caption; }
    bool IsTextMeasured() const { return m_textMeasured; }
    // The text rectangle in client coordinates (empty until measured).
    RECT GetTextRect() const { return RECT{0, 0, m_textWidth, m_textHeight}; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void CreateUnderlinedFont();
    void MeasureText();
    bool PointInText(LPARAM lp) const;
    void OnPaint();
    void OnMouseMove(LPARAM lp);
    void OnLButtonDown(LPARAM lp);
    void DeleteFont();

    std::string m_caption;
    std::string m_linkTarget;
    HFONT m_font = nullptr;
    int m_textWidth = 0;
    int m_textHeight = 0;
    bool m_fontCreated = false;
    bool m_mouseTracked = false;
    bool m_textMeasured = false;
    HCURSOR m_handCursor;
    HCURSOR m_arrowCursor;
};
