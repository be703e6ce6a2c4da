// CIconButton in a real dialog under Wine: binding, check states, hover tracking,
// focus moves on disable, clicks and double clicks, icons and what is painted.
#include "controls/icon_button.h"

#include "art_ids.h"
#include "framework/message_filter.h"
#include "support/control_host.h"
#include "support/message_pump.h"
#include "support/screenshot.h"
#include "support/watchdog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <thread>

namespace {

using gt::Capture;
using gt::SysRgb;

enum : WORD {
    kSave = 1001,
    kDefault = 1002,
    kRunning = 1003,
    kManual = 1004,
    kWeb = 1005,
    kEdit = 1006,
    kDisabledPlain = 1007,
};

POINT CentreOf(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return POINT{r.right / 2, r.bottom / 2};
}

LPARAM CentreParam(HWND window)
{
    POINT p = CentreOf(window);
    return MAKELPARAM(p.x, p.y);
}

void PutCursorOn(HWND window)
{
    POINT p = CentreOf(window);
    ::ClientToScreen(window, &p);
    ::SetCursorPos(p.x, p.y);
}

// Sum of red + green + blue over a rectangle of a capture.
long long Brightness(const Capture& c, int left, int top, int right, int bottom)
{
    long long sum = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            std::uint32_t p = c.At(x, y);
            sum += ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff);
        }
    }
    return sum;
}

std::vector<std::uint32_t> IconPixels(HICON icon, int* width, int* height)
{
    std::vector<std::uint32_t> pixels;
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return pixels;
    BITMAP bm{};
    ::GetObjectA(info.hbmColor, sizeof bm, &bm);
    *width = bm.bmWidth;
    *height = bm.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    HDC screen = ::GetDC(nullptr);
    if (::GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(bm.bmHeight), pixels.data(), &bi,
                    DIB_RGB_COLORS)
        != bm.bmHeight)
        pixels.clear();
    ::ReleaseDC(nullptr, screen);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return pixels;
}

class IconButtonTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(InstallMessageFilter()); }

    void SetUp() override
    {
        // The cursor stays where the last test left it, often on a button: the real mouse
        // move that the new dialog gets under it would start a hover before the test does.
        ::SetCursorPos(0, 0);
        host = std::make_unique<gt::HostDialog>();
        ASSERT_TRUE(host->Create("Icon buttons", 200, 80));
        HWND dlg = host->Hwnd();
        ::SetForegroundWindow(dlg);
        ::SetActiveWindow(dlg);
        ASSERT_TRUE(host->AddControl(kSave, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 7, 7, 58, 22, "&Save"));
        ASSERT_TRUE(host->AddControl(kDisabledPlain, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 7,
                                     33, 58, 14, "Off"));
        ASSERT_TRUE(
            host->AddControl(kEdit, "EDIT", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 52, 58, 14, ""));
        ASSERT_TRUE(host->AddControl(kRunning, "BUTTON", BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 72, 7,
                                     58, 22, "Running"));
        ASSERT_TRUE(host->AddControl(kManual, "BUTTON", BS_CHECKBOX | BS_PUSHLIKE | WS_TABSTOP, 72, 33, 58,
                                     22, "Manual"));
        ASSERT_TRUE(
            host->AddControl(kDefault, "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, 137, 7, 58, 22, "Default"));
        ASSERT_TRUE(host->AddControl(kWeb, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 137, 33, 18, 14, ""));
        ASSERT_TRUE(save.SubclassDlgItem(kSave, dlg));
        ASSERT_TRUE(running.SubclassDlgItem(kRunning, dlg));
        ASSERT_TRUE(manual.SubclassDlgItem(kManual, dlg));
        ASSERT_TRUE(byDefault.SubclassDlgItem(kDefault, dlg));
        ASSERT_TRUE(web.SubclassDlgItem(kWeb, dlg));
        EXPECT_TRUE(save.SetIcon(IDI_SAVE, CIconButton::kDarkened));
        EXPECT_TRUE(running.SetIcon(IDI_RUNNING, CIconButton::kDarkened));
        EXPECT_TRUE(manual.SetIcon(IDI_RESET, CIconButton::kNoSecondIcon));
        EXPECT_TRUE(byDefault.SetIcon(IDI_START, CIconButton::kDarkened));
        EXPECT_TRUE(web.SetIcon(IDI_WEB, CIconButton::kDarkened));
        for (CIconButton* b : {&save, &running, &manual, &byDefault, &web})
            b->SetFlat(true, true);
        gt::PumpMessages(dlg);
        ::SetFocus(host->Item(kEdit));
    }

    void Hover(CIconButton& button)
    {
        PutCursorOn(button);
        button.SendMessage(WM_MOUSEMOVE, 0, CentreParam(button));
    }

    gt::Watchdog dog{"icon button test", 60000};
    std::unique_ptr<gt::HostDialog> host;
    CIconButton save, running, manual, byDefault, web;
};

TEST_F(IconButtonTest, BindingMakesTheButtonOwnerDrawnAndNotesItsType)
{
    for (CIconButton* b : {&save, &running, &manual, &byDefault, &web})
        EXPECT_EQ(b->GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(running.IsCheckBox());
    EXPECT_TRUE(manual.IsCheckBox());
    EXPECT_FALSE(save.IsCheckBox());
    EXPECT_TRUE(byDefault.IsDefaultButton());
    EXPECT_FALSE(save.IsDefaultButton());
    EXPECT_TRUE(save.GetStyle() & WS_TABSTOP) << "other style bits are kept";
    EXPECT_TRUE(running.GetStyle() & BS_PUSHLIKE);

    EXPECT_TRUE(byDefault.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(save.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_FALSE(save.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
}

TEST_F(IconButtonTest, SetStyleMovesTheDefaultFlagAndKeepsOwnerDraw)
{
    save.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_TRUE(save.IsDefaultButton());
    EXPECT_TRUE(save.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(save.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);

    save.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(save.IsDefaultButton());
    EXPECT_EQ(save.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);

    // The dialog manager moves the default the same way when a push button takes the focus.
    ::SendMessageA(host->Hwnd(), DM_SETDEFID, kSave, 0);
    gt::PumpMessages(host->Hwnd());
    EXPECT_EQ(LOWORD(::SendMessageA(host->Hwnd(), DM_GETDEFID, 0, 0)), kSave);
}

TEST_F(IconButtonTest, SetCheckTicksWithOneAndTwoOnly)
{
    struct Case {
        WPARAM value;
        LRESULT expected;
    } cases[] = {{1, 1}, {0, 0}, {2, 1}, {3, 0}, {2, 1}, {BST_INDETERMINATE + 5, 0}};
    for (CIconButton* box : {&running, &manual}) {
        for (const Case& c : cases) {
            box->SendMessage(BM_SETCHECK, c.value);
            EXPECT_EQ(box->SendMessage(BM_GETCHECK), c.expected) << "BM_SETCHECK " << c.value;
        }
    }
    save.SendMessage(BM_SETCHECK, 1);
    EXPECT_EQ(save.SendMessage(BM_GETCHECK), 0) << "a push button has no tick";
}

TEST_F(IconButtonTest, TickedCheckBoxIsDrawnSunken)
{
    const std::uint32_t face = SysRgb(COLOR_BTNFACE);
    Capture plain = gt::CaptureClient(running);
    EXPECT_EQ(plain.At(0, 0), face);
    EXPECT_EQ(plain.At(plain.width - 1, plain.height - 1), face);

    running.SendMessage(BM_SETCHECK, 2);
    Capture ticked = gt::CaptureClient(running);
    EXPECT_EQ(ticked.At(0, 0), SysRgb(COLOR_BTNSHADOW));
    EXPECT_EQ(ticked.At(ticked.width - 1, ticked.height - 1), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ticked.At(ticked.width - 1, 0), SysRgb(COLOR_BTNHIGHLIGHT));

    running.SendMessage(BM_SETCHECK, 3);
    Capture again = gt::CaptureClient(running);
    EXPECT_EQ(again.At(0, 0), face);
}

TEST_F(IconButtonTest, TickedCheckBoxContentDoesNotShiftButPressedPushButtonDoes)
{
    // manual has no second icon, so ticking changes only the border.
    Capture plain = gt::CaptureClient(manual);
    manual.SendMessage(BM_SETCHECK, 1);
    Capture ticked = gt::CaptureClient(manual);
    ASSERT_EQ(plain.width, ticked.width);
    int differing = 0;
    for (int y = 1; y < plain.height - 1; ++y)
        for (int x = 1; x < plain.width - 1; ++x)
            differing += plain.At(x, y) != ticked.At(x, y);
    EXPECT_EQ(differing, 0);

    ASSERT_TRUE(save.SetIcon(IDI_SAVE, CIconButton::kNoSecondIcon));
    Capture up = gt::CaptureClient(save);
    save.SendMessage(BM_SETSTATE, TRUE);
    Capture down = gt::CaptureClient(save);
    save.SendMessage(BM_SETSTATE, FALSE);
    EXPECT_EQ(down.At(0, 0), SysRgb(COLOR_BTNSHADOW)) << "pressed: thin sunken border";
    int moved = 0;
    int content = 0;
    for (int y = 1; y < up.height - 3; ++y) {
        for (int x = 1; x < up.width - 3; ++x) {
            content += up.At(x, y) != SysRgb(COLOR_BTNFACE);
            moved += down.At(x + 1, y + 1) != up.At(x, y);
        }
    }
    EXPECT_GT(content, 100) << "icon and caption were drawn";
    EXPECT_EQ(moved, 0) << "icon and caption move one pixel right and down";
}

TEST_F(IconButtonTest, HoverShowsRaisedBorderAndTheBrightIcon)
{
    ASSERT_EQ(::GetActiveWindow(), host->Hwnd());
    const int iconTop = (gt::CaptureClient(save).height - 24) / 2;
    Capture normal = gt::CaptureClient(save);
    EXPECT_EQ(normal.At(0, 0), SysRgb(COLOR_BTNFACE)) << "flat: no border";

    Hover(save);
    EXPECT_TRUE(save.IsMouseOver());
    Capture hot = gt::CaptureClient(save);
    EXPECT_EQ(hot.At(0, 0), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(hot.At(hot.width - 1, hot.height - 1), SysRgb(COLOR_BTNSHADOW));
    EXPECT_GT(Brightness(hot, 3, iconTop, 27, iconTop + 24), Brightness(normal, 3, iconTop, 27, iconTop + 24))
        << "the first icon is brighter than the darkened second one";
    running.SendMessage(BM_SETCHECK, 1);
    gt::SaveWindowScreenshot(host->Hwnd(), "icon_button_dialog");

    // The mouse leaves: Windows reports it (TrackMouseEvent) and the highlight ends.
    ::SetCursorPos(2, 2);
    EXPECT_TRUE(gt::PumpUntil([&] { return !save.IsMouseOver(); }, 10000, host->Hwnd()));
    Capture after = gt::CaptureClient(save);
    EXPECT_EQ(after.At(0, 0), SysRgb(COLOR_BTNFACE));
}

TEST_F(IconButtonTest, HoveredCheckBoxKeepsTheDarkenedIcon)
{
    const int iconTop = (gt::CaptureClient(running).height - 24) / 2;
    Capture normal = gt::CaptureClient(running);
    Hover(running);
    ASSERT_TRUE(running.IsMouseOver());
    Capture hot = gt::CaptureClient(running);
    EXPECT_EQ(hot.At(0, 0), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(Brightness(hot, 3, iconTop, 27, iconTop + 24),
              Brightness(normal, 3, iconTop, 27, iconTop + 24));
}

TEST_F(IconButtonTest, HeldLeftButtonDoesNotStartHover)
{
    PutCursorOn(save);
    save.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, CentreParam(save));
    EXPECT_FALSE(save.IsMouseOver());
    save.SendMessage(WM_MOUSEMOVE, 0, CentreParam(save));
    EXPECT_TRUE(save.IsMouseOver());
    save.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, CentreParam(save));
    EXPECT_TRUE(save.IsMouseOver()) << "once hovering, a held button keeps it";
}

TEST_F(IconButtonTest, PointOutsideTheButtonEndsHover)
{
    Hover(save);
    ASSERT_TRUE(save.IsMouseOver());
    RECT r{};
    save.GetClientRect(&r);
    save.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(r.right + 40, r.bottom + 40));
    EXPECT_FALSE(save.IsMouseOver());
}

TEST_F(IconButtonTest, RaisedButtonDoesNotTrackTheMouse)
{
    Hover(save);
    ASSERT_TRUE(save.IsMouseOver());
    save.SetFlat(false, true);
    EXPECT_FALSE(save.IsMouseOver()) << "a hover from the flat look ends with it";
    Hover(save);
    EXPECT_FALSE(save.IsMouseOver());
}

TEST_F(IconButtonTest, LeaveCancelModeAndFocusLossEndHover)
{
    for (UINT msg : {static_cast<UINT>(WM_MOUSELEAVE), static_cast<UINT>(WM_CANCELMODE),
                     static_cast<UINT>(WM_KILLFOCUS)}) {
        Hover(save);
        ASSERT_TRUE(save.IsMouseOver());
        save.SendMessage(msg, 0, 0);
        EXPECT_FALSE(save.IsMouseOver()) << "message " << msg;
    }
}

// A window of another thread is active: this thread then has no active window.
TEST_F(IconButtonTest, NoHighlightWhileAnotherWindowIsActive)
{
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(ready, nullptr);
    DWORD otherThread = 0;
    HWND other = nullptr;
    std::thread t([&] {
        otherThread = ::GetCurrentThreadId();
        other = ::CreateWindowExA(0, "STATIC", "Other application", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 900,
                                  700, 200, 100, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (other) {
            ::SetForegroundWindow(other);
            ::SetActiveWindow(other);
        }
        ::SetEvent(ready);
        MSG msg;
        while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == WM_APP)
                break;
            ::DispatchMessageA(&msg);
        }
        if (other)
            ::DestroyWindow(other);
    });
    ::WaitForSingleObject(ready, 20000);
    EXPECT_NE(other, nullptr);
    EXPECT_TRUE(gt::PumpUntil([&] { return ::GetActiveWindow() == nullptr; }, 10000, host->Hwnd()))
        << "this thread should lose its active window";

    Hover(save);
    EXPECT_FALSE(save.IsMouseOver());

    ::PostThreadMessageA(otherThread, WM_APP, 0, 0);
    t.join();
    ::CloseHandle(ready);
    ::SetForegroundWindow(host->Hwnd());
    gt::PumpMessages(host->Hwnd());
}

TEST_F(IconButtonTest, DisablingMovesTheFocusToTheNextEnabledTabStop)
{
    save.SetFocus();
    ASSERT_EQ(::GetFocus(), save.m_hWnd);
    save.EnableWindow(false);
    EXPECT_EQ(::GetFocus(), host->Item(kEdit)) << "the disabled plain button after it is skipped";

    save.EnableWindow(true);
    running.SetFocus();
    save.EnableWindow(false);
    EXPECT_EQ(::GetFocus(), host->Item(kEdit)) << "the focus moves even when it was elsewhere";

    running.SetFocus();
    save.EnableWindow(true);
    EXPECT_EQ(::GetFocus(), running.m_hWnd) << "enabling moves nothing";

    web.SetFocus();
    web.EnableWindow(false);
    EXPECT_EQ(::GetFocus(), save.m_hWnd) << "after the last tab stop the search wraps to the first";
}

TEST_F(IconButtonTest, DisablingEndsHover)
{
    Hover(save);
    ASSERT_TRUE(save.IsMouseOver());
    save.EnableWindow(false);
    EXPECT_FALSE(save.IsMouseOver());
}

TEST(IconButtonAlone, DisablingTheOnlyTabStopFocusesTheDialog)
{
    gt::Watchdog dog("only tab stop", 30000);
    ASSERT_TRUE(InstallMessageFilter());
    gt::HostDialog host;
    ASSERT_TRUE(host.Create("One button", 80, 40));
    ASSERT_TRUE(host.AddControl(kSave, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 7, 7, 58, 22, "&Save"));
    CIconButton only;
    ASSERT_TRUE(only.SubclassDlgItem(kSave, host.Hwnd()));
    only.SetFocus();
    only.EnableWindow(false);
    EXPECT_EQ(::GetFocus(), host.Hwnd());
}

TEST_F(IconButtonTest, ClickTogglesACheckBoxAndTakesTheFocus)
{
    for (CIconButton* box : {&running, &manual}) {
        ::SetFocus(host->Item(kEdit));
        box->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreParam(*box));
        box->SendMessage(WM_LBUTTONUP, 0, CentreParam(*box));
        gt::PumpMessages(host->Hwnd());
        EXPECT_EQ(host->Clicks(static_cast<WORD>(box->GetDlgCtrlID())), 1);
        EXPECT_EQ(box->SendMessage(BM_GETCHECK), 1);
        EXPECT_EQ(::GetFocus(), box->m_hWnd);
        box->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreParam(*box));
        box->SendMessage(WM_LBUTTONUP, 0, CentreParam(*box));
        EXPECT_EQ(box->SendMessage(BM_GETCHECK), 0);
    }
    save.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreParam(save));
    save.SendMessage(WM_LBUTTONUP, 0, CentreParam(save));
    EXPECT_EQ(host->Clicks(kSave), 1);
    EXPECT_EQ(save.SendMessage(BM_GETCHECK), 0);
}

TEST_F(IconButtonTest, KeyboardClickTogglesToo)
{
    running.SetFocus();
    running.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    running.SendMessage(WM_KEYUP, VK_SPACE, 0xC0000001);
    gt::PumpMessages(host->Hwnd());
    EXPECT_EQ(host->Clicks(kRunning), 1);
    EXPECT_EQ(running.SendMessage(BM_GETCHECK), 1);
}

TEST_F(IconButtonTest, DoubleClickCountsAsASecondClick)
{
    const LPARAM at = CentreParam(running);
    running.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    running.PostMessage(WM_LBUTTONUP, 0, at);
    running.PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    running.PostMessage(WM_LBUTTONUP, 0, at);
    gt::PumpMessages(host->Hwnd());
    EXPECT_EQ(host->Clicks(kRunning), 2);
    EXPECT_EQ(running.SendMessage(BM_GETCHECK), 0) << "ticked and unticked again";
    for (const auto& command : host->commands)
        EXPECT_NE(command.second, BN_DOUBLECLICKED);
}

TEST_F(IconButtonTest, IconsComeAtTheirOwnOrTheAskedSize)
{
    EXPECT_EQ(save.GetIconSize().cx, 24);
    EXPECT_EQ(save.GetIconSize().cy, 24);
    EXPECT_NE(save.GetSecondIcon(), nullptr);
    EXPECT_EQ(web.GetIconSize().cx, 16);

    HICON oldFirst = save.GetFirstIcon();
    HICON oldSecond = save.GetSecondIcon();
    ASSERT_TRUE(save.SetIcon(IDI_DELETE, 16, 16, CIconButton::kDarkened));
    EXPECT_EQ(save.GetIconSize().cx, 16);
    EXPECT_EQ(save.GetIconSize().cy, 16);
    ICONINFO info{};
    EXPECT_FALSE(::GetIconInfo(oldFirst, &info)) << "the replaced icons are destroyed";
    EXPECT_FALSE(::GetIconInfo(oldSecond, &info));

    ASSERT_TRUE(save.SetIcon(IDI_ZEPHLAUNCH, 0, 0, CIconButton::kNoSecondIcon));
    EXPECT_EQ(save.GetIconSize().cx, 32);
    EXPECT_EQ(save.GetSecondIcon(), nullptr);
}

TEST_F(IconButtonTest, MissingIconLeavesTheButtonWithoutIcon)
{
    EXPECT_FALSE(save.SetIcon(4242, CIconButton::kDarkened));
    EXPECT_EQ(save.GetFirstIcon(), nullptr);
    EXPECT_EQ(save.GetSecondIcon(), nullptr);
    Capture c = gt::CaptureClient(save);
    EXPECT_GT(c.Count(SysRgb(COLOR_BTNTEXT), 0, 0, c.width, c.height), 0) << "the caption is still drawn";
    EXPECT_EQ(c.Count(SysRgb(COLOR_BTNTEXT), 0, 0, 20, c.height), 0) << "centred, not after an icon gap";
}

TEST_F(IconButtonTest, SecondIconIsAQuarterDarker)
{
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    std::vector<std::uint32_t> first = IconPixels(save.GetFirstIcon(), &w1, &h1);
    std::vector<std::uint32_t> second = IconPixels(save.GetSecondIcon(), &w2, &h2);
    ASSERT_FALSE(first.empty());
    ASSERT_EQ(w1, w2);
    ASSERT_EQ(h1, h2);
    int nonBlack = 0;
    for (size_t i = 0; i < first.size(); ++i) {
        std::uint32_t a = first[i] & 0xffffff;
        std::uint32_t b = second[i] & 0xffffff;
        if (a == 0) {
            EXPECT_EQ(b, 0u);
            continue;
        }
        ++nonBlack;
        std::uint32_t expected =
            ((((a >> 16) & 0xff) * 3 / 4) << 16) | ((((a >> 8) & 0xff) * 3 / 4) << 8) | ((a & 0xff) * 3 / 4);
        EXPECT_EQ(b, expected) << "pixel " << i;
        if (b != expected)
            break;
    }
    EXPECT_GT(nonBlack, 100);
}

TEST_F(IconButtonTest, DisabledCaptionIsEmbossed)
{
    Capture on = gt::CaptureClient(save);
    const int captionLeft = 3 + 24 + 1;
    EXPECT_GT(on.Count(SysRgb(COLOR_BTNTEXT), captionLeft, 0, on.width, on.height), 0);

    save.EnableWindow(false);
    Capture off = gt::CaptureClient(save);
    EXPECT_EQ(off.Count(SysRgb(COLOR_BTNTEXT), captionLeft, 0, off.width, off.height), 0);
    EXPECT_GT(off.Count(SysRgb(COLOR_BTNSHADOW), captionLeft, 0, off.width, off.height), 0);
    EXPECT_GT(off.Count(SysRgb(COLOR_BTNHIGHLIGHT), captionLeft, 0, off.width, off.height), 0);
}

TEST_F(IconButtonTest, RaisedLookFramesAndDefaultBorder)
{
    save.SetFlat(false, true);
    Capture c = gt::CaptureClient(save);
    EXPECT_EQ(c.At(0, 0), SysRgb(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.At(1, 1), SysRgb(COLOR_3DLIGHT));
    EXPECT_EQ(c.At(c.width - 1, c.height - 1), SysRgb(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(c.width - 2, c.height - 2), SysRgb(COLOR_BTNSHADOW));

    byDefault.SetFlat(false, true);
    Capture d = gt::CaptureClient(byDefault);
    EXPECT_EQ(d.At(0, 0), 0u) << "black frame of the default button";
    EXPECT_EQ(d.At(1, 1), SysRgb(COLOR_BTNHIGHLIGHT));

    save.SendMessage(BM_SETSTATE, TRUE);
    Capture down = gt::CaptureClient(save);
    save.SendMessage(BM_SETSTATE, FALSE);
    EXPECT_EQ(down.At(0, 0), SysRgb(COLOR_BTNSHADOW));
    EXPECT_EQ(down.At(down.width - 1, down.height - 1), SysRgb(COLOR_BTNSHADOW));
}

TEST_F(IconButtonTest, FocusRectangleOnlyWithFlatFocus)
{
    save.SetFocus();
    Capture flat = gt::CaptureClient(save);
    save.DrawFlatFocus(true, true);
    Capture focused = gt::CaptureClient(save);
    int changed = 0;
    for (int x = 3; x < flat.width - 3; ++x)
        changed += flat.At(x, 3) != focused.At(x, 3);
    EXPECT_GT(changed, 10) << "dotted focus line three pixels inside the edge";
}

TEST_F(IconButtonTest, ControlColourIsTheHollowBrush)
{
    HDC dc = ::GetDC(save);
    LRESULT brush = ::SendMessageA(host->Hwnd(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(save.m_hWnd));
    ::ReleaseDC(save, dc);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(brush), ::GetStockObject(NULL_BRUSH));
}

TEST_F(IconButtonTest, SystemColourChangeRepaintsWithSystemColours)
{
    save.SendMessage(WM_SYSCOLORCHANGE);
    Capture c = gt::CaptureClient(save);
    EXPECT_EQ(c.At(1, 1), SysRgb(COLOR_BTNFACE));
}

// The main window's four buttons: each draws its icon left of the caption; only the one
// under the mouse has a border. Saved as a picture too.
TEST(IconButtonPicture, MainWindowButtons)
{
    gt::Watchdog dog("main window buttons", 30000);
    ASSERT_TRUE(InstallMessageFilter());
    const char* captions[] = {"&Services", "&Programs", "&Configure", "St&art"};
    const short tops[] = {7, 35, 64, 94};
    const UINT icons[] = {IDI_SERVICES, IDI_PROGRAMS, IDI_CONFIGURE, IDI_START};
    gt::HostDialog host;
    ASSERT_TRUE(host.Create("Zephlaunch", 229, 124, 300, 60));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(host.AddControl(static_cast<WORD>(1002 + i), "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 7,
                                    tops[i], 58, 22, captions[i]));
    }
    CIconButton buttons[4];
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(buttons[i].SubclassDlgItem(1002 + i, host.Hwnd()));
        EXPECT_TRUE(buttons[i].SetIcon(icons[i], CIconButton::kDarkened));
        buttons[i].SetFlat(true, true);
    }
    gt::PumpMessages(host.Hwnd());
    PutCursorOn(buttons[3]);
    buttons[3].SendMessage(WM_MOUSEMOVE, 0, CentreParam(buttons[3]));
    for (int i = 0; i < 4; ++i) {
        Capture c = gt::CaptureClient(buttons[i]);
        const int iconTop = (c.height - 24) / 2;
        EXPECT_GT(24 * 24 - c.Count(SysRgb(COLOR_BTNFACE), 3, iconTop, 27, iconTop + 24), 40) << captions[i];
        EXPECT_EQ(c.At(0, 0), SysRgb(i == 3 ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE)) << captions[i];
    }
    gt::SaveWindowScreenshot(host.Hwnd(), "icon_button_main_window");
}

}  // namespace
