// Helpers of the control tests: a watchdog per test, message pumping, dialogs built
// from in-memory templates that reflect messages to their bound controls as the GUI's
// dialogs do, pixel read-back from windows and PNG screenshots into BUILD/screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace guitest {

// Ends the whole process with exit code 99 and a message when the test it guards has
// not finished within the limit, so that no test can hang the run.
class Watchdog {
public:
    explicit Watchdog(const char* what, DWORD limitMs = 60000);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    static DWORD WINAPI Run(void* self);
    std::string m_what;
    DWORD m_limit;
    HANDLE m_done = nullptr;
    HANDLE m_thread = nullptr;
};

// Dispatches queued messages until the queue is empty (dialog messages through
// IsDialogMessage when a dialog is given).
void PumpMessages(HWND dialog = nullptr);
// Pumps until done() is true; false when it is still false after limitMs (a hang
// guard, not a speed check).
bool PumpUntil(const std::function<bool()>& done, HWND dialog = nullptr, DWORD limitMs = 10000);

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// A DLGTEMPLATE with its items, font "MS Shell Dlg" 8 pt.
class DialogTemplate {
public:
    DialogTemplate(const char* caption, short cx, short cy);
    void Add(WORD id, WORD classAtom, DWORD style, short x, short y, short cx, short cy, const char* text);
    const DLGTEMPLATE* Get();

private:
    void Word(WORD w) { m_words.push_back(w); }
    void Text(const char* text);
    void Align();
    std::vector<WORD> m_words;
    WORD m_count = 0;
};

// A modeless dialog on the screen that hands WM_COMMAND, WM_DRAWITEM and WM_CTLCOLOR*
// of a control to the control's bound object (OnChildNotify) first, forwards menu
// owner-draw, WM_INITMENUPOPUP and WM_MENUCHAR to CIconMenu, and records commands.
class HostDialog {
public:
    HostDialog() = default;
    ~HostDialog();
    HostDialog(const HostDialog&) = delete;
    HostDialog& operator=(const HostDialog&) = delete;

    bool Create(DialogTemplate& dialogTemplate, int x = 60, int y = 60);
    // Adds a control after creation (position in dialog units, the dialog's font), so
    // that one dialog can serve many tests: Wine waits up to two seconds for every
    // top-level window it destroys when no window manager runs (Xvfb).
    HWND AddControl(WORD id, const char* className, DWORD style, int x, int y, int cx, int cy, const char* text);
    void DestroyControls();
    HWND Hwnd() const { return m_hwnd; }
    HWND Item(int id) const { return ::GetDlgItem(m_hwnd, id); }
    int Clicks(WORD id) const;

    std::vector<std::pair<WORD, WORD>> commands;      // (id, notification code)
    std::function<void(UINT_PTR)> onTimer;
    int menuDrawRequests = 0;
    int menuMeasureRequests = 0;

private:
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
    HWND m_hwnd = nullptr;
};

// Pixels as 0x00RRGGBB.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
    int Count(std::uint32_t rgb, int left, int top, int right, int bottom) const;
};

std::uint32_t Rgb(COLORREF colour);          // COLORREF -> 0x00RRGGBB
std::uint32_t SysRgb(int index);             // GetSysColor as 0x00RRGGBB

// Repaints the window now and reads its client area back.
Capture CaptureClient(HWND window);
// Reads a memory DC's bitmap back (the bitmap selected into dc).
Capture CaptureDC(HDC dc, int width, int height);
// Saves the window (frame included, as on the screen) as BUILD/screenshots/<name>.png.
bool SaveScreenshot(HWND window, const char* name);
bool SaveCapture(const Capture& capture, const char* name);

// A memory DC with a 32-bit DIB section of the given size, filled with `fill`.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height, COLORREF fill);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    HDC Dc() const { return m_dc; }
    Capture Read() const { return CaptureDC(m_dc, m_width, m_height); }

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    int m_width;
    int m_height;
};

}  // namespace guitest
