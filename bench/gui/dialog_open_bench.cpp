// bench_dialog_open [ROUNDS]: runs the main window as the program does and opens each
// dialog of its buttons and menus from it in turn, ROUNDS times (default 7): the time from
// posting the command to the dialog's first paint (shown, and nothing of it or its
// controls left to paint when its modal loop first goes idle). Prints one line per
// dialog: its name and the median in milliseconds (bench/dialog_open_dpi.sh).
#include "framework/win_app.h"
#include "resource.h"
#include "zephlaunch_app.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Opened {
    const char* name;
    int command;
    std::vector<double> times;
};

Opened g_dialogs[] = {{"configure", IDC_CONFIGURE, {}},
                      {"programs", IDC_PROGRAMS, {}},
                      {"services", IDC_SERVICES, {}},
                      {"new-profile", ID_FILE_NEW, {}},
                      {"program-options", ID_TOOLS_PROGRAM_OPTIONS, {}},
                      {"about", ID_APP_ABOUT, {}},
                      {"preview-run", ID_FILE_PREVIEW_RUN, {}}};
const int kDialogs = sizeof g_dialogs / sizeof g_dialogs[0];

enum class State { Idle, Opening, Closing };
State g_state = State::Idle;
int g_rounds = 7;
int g_next = 0;  // round * kDialogs + dialog
double g_posted = 0;
HWND g_open = nullptr;

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

BOOL CALLBACK HasUpdate(HWND window, LPARAM found)
{
    if (::GetUpdateRect(window, nullptr, FALSE))
        *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

bool Painted(HWND dialog)
{
    bool pending = ::GetUpdateRect(dialog, nullptr, FALSE) != FALSE;
    ::EnumChildWindows(dialog, HasUpdate, reinterpret_cast<LPARAM>(&pending));
    return ::IsWindowVisible(dialog) && !pending;
}

// The owner of a modal dialog gets WM_ENTERIDLE each time the dialog's loop runs out of messages.
LRESULT CALLBACK SentMessages(int code, WPARAM wp, LPARAM lp)
{
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && g_state == State::Opening && sent->message == WM_ENTERIDLE
        && sent->wParam == MSGF_DIALOGBOX && Painted(reinterpret_cast<HWND>(sent->lParam))) {
        g_dialogs[g_next % kDialogs].times.push_back(Now() - g_posted);
        g_open = reinterpret_cast<HWND>(sent->lParam);
        g_state = State::Closing;
        ::PostMessageA(g_open, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    HWND main = MainWindow();
    if (!main || !::IsWindowVisible(main))
        return;
    if (g_state == State::Closing && !::IsWindow(g_open)) {
        g_state = State::Idle;
        ++g_next;
    }
    if (g_state != State::Idle)
        return;
    if (g_next >= g_rounds * kDialogs) {
        ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return;
    }
    g_state = State::Opening;
    g_posted = Now();
    ::PostMessageA(main, WM_COMMAND, MAKEWPARAM(g_dialogs[g_next % kDialogs].command, 0), 0);
}

}  // namespace

CZephlaunchApp theApp;

int main(int argc, char** argv)
{
    if (argc > 1)
        g_rounds = std::max(1, std::atoi(argv[1]));
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, SentMessages, nullptr, ::GetCurrentThreadId());
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, Tick);
    if (!hook || !timer) {
        std::fprintf(stderr, "bench_dialog_open: no hook or timer\n");
        return 1;
    }
    theApp.InitInstance();
    ::KillTimer(nullptr, timer);
    ::UnhookWindowsHookEx(hook);
    for (Opened& dialog : g_dialogs) {
        if (dialog.times.empty()) {
            std::printf("%s nan\n", dialog.name);
            continue;
        }
        std::sort(dialog.times.begin(), dialog.times.end());
        std::printf("%s %.1f\n", dialog.name, dialog.times[dialog.times.size() / 2]);
    }
    return 0;
}
