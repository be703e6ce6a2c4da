#include "support/gui_test_support.h"

#include "controls/icon_menu.h"
#include "framework/wnd.h"
#include "support/png_writer.h"

#include <cstdio>
#include <cstring>

namespace guitest {

// ---------------------------------------------------------------- watchdog

Watchdog::Watchdog(const char* what, DWORD limitMs) : m_what(what), m_limit(limitMs)
{
    m_done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_done) {
        std::fprintf(stderr, "watchdog: CreateEvent failed (error = %lu)\n", ::GetLastError());
        return;
    }
    m_thread = ::CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
    if (!m_thread)
        std::fprintf(stderr, "watchdog: CreateThread failed (error = %lu)\n", ::GetLastError());
}

Watchdog::~Watchdog()
{
    if (m_done)
        ::SetEvent(m_done);
    if (m_thread) {
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
    }
    if (m_done)
        ::CloseHandle(m_done);
}

DWORD WINAPI Watchdog::Run(void* self)
{
    auto* dog = static_cast<Watchdog*>(self);
    if (::WaitForSingleObject(dog->m_done, dog->m_limit) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "watchdog: \"%s\" did not finish within %lu ms; ending the test program\n",
                     dog->m_what.c_str(), dog->m_limit);
        std::fflush(stderr);
        std::fflush(stdout);
        ::TerminateProcess(::GetCurrentProcess(), 99);
    }
    return 0;
}

// ---------------------------------------------------------------- messages

void PumpMessages(HWND dialog)
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && ::IsWindow(dialog) && ::IsDialogMessageA(dialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, HWND dialog, DWORD limitMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        PumpMessages(dialog);
        if (done())
            return true;
        if (::GetTickCount() - start > limitMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// ---------------------------------------------------------------- templates

DialogTemplate::DialogTemplate(const char* caption, short cx, short cy)
{
    DWORD style = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    Word(LOWORD(style));
    Word(HIWORD(style));
    Word(0);  // extended style
    Word(0);
    Word(0);  // item count, set by Get
    Word(0);  // x
    Word(0);  // y
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // default class
    Text(caption);
    Word(8);
    Text("MS Shell Dlg");
}

void DialogTemplate::Text(const char* text)
{
    for (const char* p = text; *p; ++p)
        Word(static_cast<WORD>(static_cast<unsigned char>(*p)));
    Word(0);
}

void DialogTemplate::Align()
{
    if (m_words.size() % 2)
        Word(0);
}

void DialogTemplate::Add(WORD id, WORD classAtom, DWORD style, short x, short y, short cx, short cy, const char* text)
{
    Align();
    style |= WS_CHILD | WS_VISIBLE;
    Word(LOWORD(style));
    Word(HIWORD(style));
    Word(0);
    Word(0);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xffff);
    Word(classAtom);
    Text(text);
    Word(0);  // no creation data
    ++m_count;
}

const DLGTEMPLATE* DialogTemplate::Get()
{
    m_words[4] = m_count;
    return reinterpret_cast<const DLGTEMPLATE*>(m_words.data());
}

// ---------------------------------------------------------------- host dialog

HostDialog::~HostDialog()
{
    if (m_hwnd && ::IsWindow(m_hwnd))
        ::DestroyWindow(m_hwnd);
    PumpMessages();
}

bool HostDialog::Create(DialogTemplate& dialogTemplate, int x, int y)
{
    m_hwnd = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), dialogTemplate.Get(), nullptr, &HostDialog::Proc,
                                          reinterpret_cast<LPARAM>(this));
    if (!m_hwnd)
        return false;
    ::SetWindowPos(m_hwnd, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_hwnd);
    ::SetActiveWindow(m_hwnd);
    ::UpdateWindow(m_hwnd);
    PumpMessages(m_hwnd);
    return true;
}

HWND HostDialog::AddControl(WORD id, const char* className, DWORD style, int x, int y, int cx, int cy, const char* text)
{
    RECT r{x, y, x + cx, y + cy};
    ::MapDialogRect(m_hwnd, &r);
    HWND control = ::CreateWindowExA(0, className, text, style | WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                     r.bottom - r.top, m_hwnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (control)
        ::SendMessageA(control, WM_SETFONT, ::SendMessageA(m_hwnd, WM_GETFONT, 0, 0), FALSE);
    return control;
}

void HostDialog::DestroyControls()
{
    while (HWND child = ::GetWindow(m_hwnd, GW_CHILD))
        ::DestroyWindow(child);
    commands.clear();
    PumpMessages(m_hwnd);
}

int HostDialog::Clicks(WORD id) const
{
    int n = 0;
    for (const auto& command : commands) {
        if (command.first == id && command.second == BN_CLICKED)
            ++n;
    }
    return n;
}

INT_PTR CALLBACK HostDialog::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, lp);
        reinterpret_cast<HostDialog*>(lp)->m_hwnd = hwnd;
        return TRUE;
    }
    auto* self = reinterpret_cast<HostDialog*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        return FALSE;
    }
    return self->Handle(msg, wp, lp);
}

INT_PTR HostDialog::Handle(UINT msg, WPARAM wp, LPARAM lp)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lp);
        break;
    case WM_DRAWITEM:
        if (reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlType != ODT_MENU)
            child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
        break;
    default:
        break;
    }
    if (child) {
        CWnd* object = CWnd::FromHandlePermanent(child);
        LRESULT result = 0;
        if (object && object->OnChildNotify(msg, wp, lp, &result)) {
            if (msg == WM_CTLCOLORBTN || msg == WM_CTLCOLORSTATIC)
                return static_cast<INT_PTR>(result);
            ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    switch (msg) {
    case WM_COMMAND:
        commands.emplace_back(LOWORD(wp), HIWORD(wp));
        return TRUE;
    case WM_DRAWITEM:
        if (reinterpret_cast<DRAWITEMSTRUCT*>(lp)->CtlType == ODT_MENU) {
            ++menuDrawRequests;
            return CIconMenu::HandleDrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lp)) ? TRUE : FALSE;
        }
        return FALSE;
    case WM_MEASUREITEM:
        if (reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlType == ODT_MENU) {
            ++menuMeasureRequests;
            return CIconMenu::HandleMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)) ? TRUE : FALSE;
        }
        return FALSE;
    case WM_INITMENUPOPUP: {
        HMENU popup = reinterpret_cast<HMENU>(wp);
        if (!HIWORD(lp) && CIconMenu::IsIconMenu(popup))
            CIconMenu::FromHandle(popup)->UpdatePopup(popup);
        return TRUE;
    }
    case WM_MENUCHAR: {
        HMENU menu = reinterpret_cast<HMENU>(lp);
        if (!CIconMenu::IsIconMenu(menu))
            return FALSE;
        LRESULT result = CIconMenu::FromHandle(menu)->FindMenuChar(LOWORD(wp), HIWORD(wp), menu);
        ::SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_TIMER:
        if (onTimer)
            onTimer(wp);
        return TRUE;
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------- pixels

int Capture::Count(std::uint32_t rgb, int left, int top, int right, int bottom) const
{
    int n = 0;
    for (int y = top; y < bottom && y < height; ++y) {
        for (int x = left; x < right && x < width; ++x) {
            if (At(x, y) == rgb)
                ++n;
        }
    }
    return n;
}

std::uint32_t Rgb(COLORREF colour)
{
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) | (static_cast<std::uint32_t>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

std::uint32_t SysRgb(int index)
{
    return Rgb(::GetSysColor(index));
}

namespace {

Capture BlitToCapture(HDC source, int x, int y, int width, int height)
{
    Capture capture;
    if (width <= 0 || height <= 0)
        return capture;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(source);
    HBITMAP dib = ::CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (memory && dib && bits) {
        HGDIOBJ old = ::SelectObject(memory, dib);
        if (::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY)) {
            ::GdiFlush();
            capture.width = width;
            capture.height = height;
            const auto* p = static_cast<const std::uint32_t*>(bits);
            capture.pixels.assign(p, p + static_cast<size_t>(width) * static_cast<size_t>(height));
            for (std::uint32_t& pixel : capture.pixels)
                pixel &= 0x00ffffffu;
        }
        ::SelectObject(memory, old);
    }
    if (dib)
        ::DeleteObject(dib);
    if (memory)
        ::DeleteDC(memory);
    return capture;
}

std::string ScreenshotPath(const char* name)
{
    char dir[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableA("ZEPH_BIN_DIR", dir, sizeof dir);
    std::string folder = (length > 0 && length < sizeof dir) ? std::string(dir) + "/../screenshots" : "screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "/" + name + ".png";
}

}  // namespace

Capture CaptureClient(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client{};
    ::GetClientRect(window, &client);
    HDC dc = ::GetDC(window);
    if (!dc)
        return Capture();
    Capture capture = BlitToCapture(dc, 0, 0, client.right, client.bottom);
    ::ReleaseDC(window, dc);
    return capture;
}

Capture CaptureDC(HDC dc, int width, int height)
{
    return BlitToCapture(dc, 0, 0, width, height);
}

bool SaveCapture(const Capture& capture, const char* name)
{
    return png::WriteFile(ScreenshotPath(name), capture.width, capture.height, capture.pixels);
}

bool SaveScreenshot(HWND window, const char* name)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    RECT r{};
    ::GetWindowRect(window, &r);
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return false;
    Capture capture = BlitToCapture(screen, r.left, r.top, r.right - r.left, r.bottom - r.top);
    ::ReleaseDC(nullptr, screen);
    return SaveCapture(capture, name);
}

MemoryCanvas::MemoryCanvas(int width, int height, COLORREF fill) : m_width(width), m_height(height)
{
    HDC screen = ::GetDC(nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc = ::CreateCompatibleDC(screen);
    m_bitmap = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    if (m_dc && m_bitmap) {
        m_old = ::SelectObject(m_dc, m_bitmap);
        RECT all{0, 0, width, height};
        COLORREF old = ::SetBkColor(m_dc, fill);
        ::ExtTextOutA(m_dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        ::SetBkColor(m_dc, old);
    }
}

MemoryCanvas::~MemoryCanvas()
{
    if (m_old)
        ::SelectObject(m_dc, m_old);
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    if (m_dc)
        ::DeleteDC(m_dc);
}

}  // namespace guitest
