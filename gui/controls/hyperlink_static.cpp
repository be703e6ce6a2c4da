#include "controls/hyperlink_static.h"

#include "framework/shell_execute.h"

#include <commctrl.h>

CHyperlinkStatic::CHyperlinkStatic()
{
    // Without a system hand cursor (before Windows 2000) no hand is shown.
    m_handCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));   // IDC_HAND
    m_arrowCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
}

CHyperlinkStatic::~CHyperlinkStatic() { DeleteFont(); }

void CHyperlinkStatic::PreSubclassWindow()
{
    // A static control without SS_NOTIFY lets the mouse messages pass to its parent.
    ModifyStyle(0, SS_NOTIFY);
    m_caption = GetWindowText();
    m_textMeasured = false;
    m_textWidth = 0;
    m_textHeight = 0;
    CStatic::PreSubclassWindow();
}

void CHyperlinkStatic::DeleteFont()
{
    if (m_font)
        ::DeleteObject(m_font);
    m_font = nullptr;
    m_fontCreated = false;
}

void CHyperlinkStatic::CreateUnderlinedFont()
{
    HWND parent = GetParent();
    HFONT parentFont = parent ? reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0)) : nullptr;
    if (!parentFont)
        return;  // the next paint tries again
    LOGFONTA font = {};
    if (::GetObjectA(parentFont, sizeof font, &font) != sizeof font)
        return;
    font.lfUnderline = TRUE;
    m_font = ::CreateFontIndirectA(&font);
    m_fontCreated = m_font != nullptr;
}

void CHyperlinkStatic::MeasureText()
{
    if (!m_fontCreated || m_textMeasured)
        return;
    HDC dc = ::GetDC(m_hWnd);
    if (!dc)
        return;
    HGDIOBJ previous = ::SelectObject(dc, m_font);
    SIZE extent = {};
    if (::GetTextExtentPoint32A(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &extent)) {
        m_textWidth = extent.cx;
        m_textHeight = extent.cy;
        m_textMeasured = true;
    }
    if (previous)
        ::SelectObject(dc, previous);
    ::ReleaseDC(m_hWnd, dc);
}

bool CHyperlinkStatic::PointInText(LPARAM lp) const
{
    int x = static_cast<short>(LOWORD(lp));
    int y = static_cast<short>(HIWORD(lp));
    return m_textMeasured && x >= 0 && x < m_textWidth && y >= 0 && y < m_textHeight;
}

void CHyperlinkStatic::OnPaint()
{
    if (!m_fontCreated)
        CreateUnderlinedFont();
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (!dc)
        return;
    HGDIOBJ previous = m_font ? ::SelectObject(dc, m_font) : nullptr;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 255));
    ::TextOutA(dc, 0, 0, m_caption.c_str(), static_cast<int>(m_caption.size()));
    if (previous)
        ::SelectObject(dc, previous);
    ::EndPaint(m_hWnd, &paint);
}

void CHyperlinkStatic::OnMouseMove(LPARAM lp)
{
    if (!m_mouseTracked) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        if (::_TrackMouseEvent(&track))
            m_mouseTracked = true;
        return;
    }
    MeasureText();
    ::SetCursor(PointInText(lp) && m_handCursor ? m_handCursor : m_arrowCursor);
}

void CHyperlinkStatic::OnLButtonDown(LPARAM lp)
{
    MeasureText();
    if (!PointInText(lp))
        return;
    ShellExecuteRequest request;
    request.verb = "open";
    request.file = m_linkTarget;
    RunShellExecute(request);  // a link nothing can open does nothing
}

LRESULT CHyperlinkStatic::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(lp);
        break;
    case WM_MOUSELEAVE:
        m_mouseTracked = false;
        ::SetCursor(m_arrowCursor);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(lp);
        break;
    case WM_DESTROY: {
        LRESULT result = Default(msg, wp, lp);
        DeleteFont();
        return result;
    }
    default:
        break;
    }
    return Default(msg, wp, lp);
}
