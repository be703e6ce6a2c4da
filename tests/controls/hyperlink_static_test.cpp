// CHyperlinkStatic in a real dialog under Wine: what it hands to the shell (through
// the GUI's one ShellExecute seam), where a click counts, the cursor it shows, and
// what it paints.
#include "controls/hyperlink_static.h"

#include "framework/message_filter.h"
#include "framework/shell_execute.h"
#include "support/control_host.h"
#include "support/message_pump.h"
#include "support/screenshot.h"
#include "support/watchdog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using gt::Capture;

enum : WORD { kLink = 2001 };

const char kCaption[] = "Visit the web site";
const char kTarget[] = "https://zephlaunch.example/page?a=1&b=2";
const std::uint32_t kBlue = 0x0000FF;

std::vector<ShellExecuteRequest> g_requests;

ShellExecuteOutcome RecordRequest(const ShellExecuteRequest& request)
{
    g_requests.push_back(request);
    ShellExecuteOutcome outcome;
    outcome.ok = true;
    return outcome;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

class HyperlinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(InstallMessageFilter()); }

    void SetUp() override
    {
        host = std::make_unique<gt::HostDialog>();
        ASSERT_TRUE(host->Create("Hyperlinks", 200, 80));
        g_requests.clear();
        m_previousHandler = SetShellExecuteHandler(&RecordRequest);
        // A static text much larger than its caption, with no SS_NOTIFY of its own.
        m_control = host->AddControl(kLink, "STATIC", SS_LEFT, 10, 10, 150, 24, kCaption);
        ASSERT_TRUE(m_control);
        ASSERT_TRUE(link.SubclassWindow(m_control));
        link.SetLinkTarget(kTarget);
    }

    void TearDown() override { SetShellExecuteHandler(m_previousHandler); }

    // The caption's extent in the dialog's font, underlined: measured here on its own.
    SIZE ExpectedTextSize() const
    {
        LOGFONTA font = {};
        HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageA(host->Hwnd(), WM_GETFONT, 0, 0));
        EXPECT_TRUE(dialogFont && ::GetObjectA(dialogFont, sizeof font, &font) == sizeof font);
        font.lfUnderline = TRUE;
        HFONT underlined = ::CreateFontIndirectA(&font);
        HDC dc = ::GetDC(m_control);
        HGDIOBJ old = ::SelectObject(dc, underlined);
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, kCaption, lstrlenA(kCaption), &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_control, dc);
        ::DeleteObject(underlined);
        return size;
    }

    void Paint() { ::UpdateWindow(m_control); }
    void Click(int x, int y)
    {
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
        link.SendMessage(WM_LBUTTONUP, 0, Point(x, y));
    }
    void Move(int x, int y)
    {
        POINT screen = {x, y};
        ::ClientToScreen(m_control, &screen);
        ::SetCursorPos(screen.x, screen.y);
        link.SendMessage(WM_MOUSEMOVE, 0, Point(x, y));
    }

    std::unique_ptr<gt::HostDialog> host;
    gt::Watchdog dog{"hyperlink test", 60000};
    CHyperlinkStatic link;
    HWND m_control = nullptr;
    ShellExecuteHandler m_previousHandler = nullptr;
};

TEST_F(HyperlinkTest, BindingTakesTheCaptionAndLetsTheControlSeeTheMouse)
{
    EXPECT_EQ(link.GetCaption(), kCaption);
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    // Without SS_NOTIFY a static control is transparent to the mouse.
    RECT r;
    ::GetWindowRect(m_control, &r);
    EXPECT_EQ(link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(r.left + 2, r.top + 2)), HTCLIENT);
}

TEST_F(HyperlinkTest, ClickBeforeTheFirstPaintDoesNothing)
{
    ASSERT_TRUE(::GetUpdateRect(m_control, nullptr, FALSE)) << "the control was painted already";
    Click(2, 2);
    EXPECT_TRUE(g_requests.empty());
    EXPECT_FALSE(link.IsTextMeasured());

    Paint();
    Click(2, 2);
    ASSERT_EQ(g_requests.size(), 1u);
    EXPECT_EQ(g_requests[0].owner, nullptr);
    EXPECT_EQ(g_requests[0].verb, "open");
    EXPECT_EQ(g_requests[0].file, kTarget);
    EXPECT_EQ(g_requests[0].parameters, "");
    EXPECT_EQ(g_requests[0].directory, "");
    EXPECT_EQ(g_requests[0].show, SW_SHOWNORMAL);
}

TEST_F(HyperlinkTest, OnlyAClickInsideTheTextRectangleOpensTheLink)
{
    Paint();
    SIZE text = ExpectedTextSize();
    RECT client;
    ::GetClientRect(m_control, &client);
    ASSERT_LT(text.cx + 5, client.right);
    ASSERT_LT(text.cy + 5, client.bottom);

    Click(text.cx, 1);                // just right of the text
    Click(text.cx + 4, text.cy / 2);  // further right, inside the control
    Click(1, text.cy);                // just below the text
    Click(client.right - 1, client.bottom - 1);
    EXPECT_TRUE(g_requests.empty());

    Click(0, 0);
    Click(text.cx - 1, text.cy - 1);
    EXPECT_EQ(g_requests.size(), 2u);
    RECT measured = link.GetTextRect();
    EXPECT_EQ(measured.right, text.cx);
    EXPECT_EQ(measured.bottom, text.cy);
}

TEST_F(HyperlinkTest, HandCursorOnlyOverTheTextAndNotOnTheFirstMove)
{
    Paint();
    SIZE text = ExpectedTextSize();
    HCURSOR hand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    HCURSOR cross = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32515));
    ASSERT_TRUE(hand && arrow && cross);

    ::SetCursor(cross);
    Move(3, 3);  // the mouse enters: tracking starts, the cursor stays
    EXPECT_EQ(::GetCursor(), cross);
    Move(4, 3);
    EXPECT_EQ(::GetCursor(), hand);
    Move(text.cx + 3, 3);  // right of the text, still inside the control
    EXPECT_EQ(::GetCursor(), arrow);
    Move(4, text.cy + 2);  // below the text
    EXPECT_EQ(::GetCursor(), arrow);
    Move(text.cx - 1, text.cy - 1);
    EXPECT_EQ(::GetCursor(), hand);

    link.SendMessage(WM_MOUSELEAVE);
    EXPECT_EQ(::GetCursor(), arrow);
    ::SetCursor(cross);
    Move(3, 3);  // entering again: first move keeps the cursor
    EXPECT_EQ(::GetCursor(), cross);
    ::SetCursorPos(0, 0);
}

TEST_F(HyperlinkTest, PaintsTheBindingCaptionInBlueUnderlined)
{
    Paint();
    SIZE text = ExpectedTextSize();
    ::SetWindowTextA(m_control, "A different and much longer caption set after binding");
    EXPECT_EQ(link.GetCaption(), kCaption);

    Capture c = gt::CaptureClient(m_control);
    gt::SaveWindowScreenshot(host->Hwnd(), "hyperlink-static");
    EXPECT_GT(c.Count(kBlue, 0, 0, text.cx, text.cy), 0);
    // Nothing drawn beyond the caption taken at binding (a glyph may overhang its
    // advance by a pixel), nor below it.
    EXPECT_EQ(c.Count(kBlue, text.cx + 2, 0, c.width, c.height), 0);
    EXPECT_EQ(c.Count(kBlue, 0, text.cy, c.width, c.height), 0);
    // The underline: a row of blue under nearly the whole text.
    int longestRow = 0;
    for (int y = text.cy / 2; y < text.cy; ++y)
        longestRow = std::max(longestRow, c.Count(kBlue, 0, y, text.cx, y + 1));
    EXPECT_GE(longestRow, text.cx * 9 / 10);

    // The text rectangle did not follow the new window text either.
    Click(text.cx + 2, 2);
    EXPECT_TRUE(g_requests.empty());
}

TEST_F(HyperlinkTest, AnEmptyTargetIsHandedToTheShellAsIs)
{
    link.SetLinkTarget("");
    Paint();
    Click(1, 1);
    ASSERT_EQ(g_requests.size(), 1u);
    EXPECT_EQ(g_requests[0].file, "");
    EXPECT_EQ(g_requests[0].verb, "open");
}

}  // namespace
