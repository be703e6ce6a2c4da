#include "support/gui_driver.h"

#include "framework/wnd.h"
#include "resource.h"
#include "support/screenshot.h"
#include "support/wine_harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace gt {

namespace {

GuiDriver* g_driver = nullptr;
const UINT kStepIntervalMs = 40;

bool IsDialogClass(HWND window)
{
    char name[16] = {};
    return ::GetClassNameA(window, name, sizeof name) && std::string(name) == "#32770";
}

// A message box is a system dialog: not one of the program's framework dialogs.
bool IsMessageBox(HWND window)
{
    return IsDialogClass(window) && !CWnd::FromHandlePermanent(window) && ::GetDlgItem(window, 0xffff);
}

BoxIcon IconOf(HWND box)
{
    struct Known {
        LPCSTR id;
        BoxIcon icon;
    };
    const Known known[] = {{IDI_ASTERISK, BoxIcon::Information},
                           {IDI_EXCLAMATION, BoxIcon::Exclamation},
                           {IDI_HAND, BoxIcon::Hand},
                           {IDI_QUESTION, BoxIcon::Question}};
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        HICON shown = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        for (const Known& k : known) {
            if (shown && shown == ::LoadIconA(nullptr, k.id))
                return k.icon;
        }
    }
    return BoxIcon::None;
}

BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CollectThreadWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

}  // namespace

std::string TitleOf(HWND window)
{
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) && (*search->match)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForProcessWindow(DWORD processId, const std::function<bool(HWND)>& match, DWORD milliseconds)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        WindowSearch search = {processId, &match, nullptr};
        ::EnumWindows(&MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || ::GetTickCount() - start > milliseconds)
            return search.found;
        ::Sleep(50);
    }
}

GuiProcess::GuiProcess(const std::string& exePath, const std::string& workDir)
    : m_process(zt::StartProgram("\"" + exePath + "\"", workDir))
{
    if (!m_process)
        ADD_FAILURE() << "cannot start " << exePath << ", error " << ::GetLastError();
}

GuiProcess::~GuiProcess()
{
    if (!m_process)
        return;
    if (::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process, 9);
        ::WaitForSingleObject(m_process, 5000);
    }
    ::CloseHandle(m_process);
}

HWND GuiProcess::WaitForMain() const
{
    return m_process
               ? WaitForProcessWindow(Id(), [](HWND w) { return TitleOf(w) == "Zephlaunch - zephlaunch"; })
               : nullptr;
}

DWORD GuiProcess::WaitForEnd(DWORD milliseconds) const
{
    DWORD code = STILL_ACTIVE;
    if (m_process && ::WaitForSingleObject(m_process, milliseconds) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(m_process, &code);
    return code;
}

bool IsProcessMessageBox(HWND window)
{
    return IsDialogClass(window) && ::GetDlgItem(window, 0xffff) != nullptr
           && !::GetDlgItem(window, IDC_PROFILE_LIST);
}

HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

void Click(HWND dialog, int id) { ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void Command(HWND window, int id) { ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void TypeText(HWND dialog, int id, const std::string& text)
{
    ::SendMessageA(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

GuiDriver::GuiDriver()
{
    g_driver = this;
    m_hook = ::SetWindowsHookExA(WH_CBT, &GuiDriver::CbtHook, nullptr, ::GetCurrentThreadId());
    m_stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

GuiDriver::~GuiDriver()
{
    Stop();
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
    if (m_stopEvent)
        ::CloseHandle(m_stopEvent);
    g_driver = nullptr;
}

void GuiDriver::Answer(std::vector<int> answers)
{
    m_answers.insert(m_answers.end(), answers.begin(), answers.end());
}

void GuiDriver::Step(const std::string& title, Action action)
{
    m_steps.push_back({title, false, std::move(action)});
}

void GuiDriver::StepInMenu(Action action) { m_steps.push_back({std::string(), true, std::move(action)}); }

HWND OpenMenuWindow()
{
    for (HWND window : ThreadWindows()) {
        char name[16] = {};
        if (::GetClassNameA(window, name, sizeof name) && std::string(name) == "#32768"
            && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

void GuiDriver::Start(int watchdogSeconds)
{
    m_watchdogSeconds = watchdogSeconds;
    m_stepTimer = ::SetTimer(nullptr, 0, kStepIntervalMs, &GuiDriver::StepTimer);
    m_watchdogTimer =
        ::SetTimer(nullptr, 0, static_cast<UINT>(watchdogSeconds) * 1000u, &GuiDriver::WatchdogTimer);
    m_backstop = ::CreateThread(nullptr, 0, &GuiDriver::BackstopThread, this, 0, nullptr);
}

void GuiDriver::StopAndExpectClean()
{
    Stop();
    EXPECT_FALSE(WatchdogFired());
    EXPECT_TRUE(AllStepsRun()) << "steps run: " << StepsRun();
    EXPECT_EQ(UnexpectedMessageBoxes(), 0);
}

void GuiDriver::Stop()
{
    if (m_stepTimer)
        ::KillTimer(nullptr, m_stepTimer);
    if (m_watchdogTimer)
        ::KillTimer(nullptr, m_watchdogTimer);
    m_stepTimer = m_watchdogTimer = 0;
    if (m_backstop) {
        ::SetEvent(m_stopEvent);
        ::WaitForSingleObject(m_backstop, INFINITE);
        ::CloseHandle(m_backstop);
        m_backstop = nullptr;
        ::ResetEvent(m_stopEvent);
    }
}

LRESULT CALLBACK GuiDriver::CbtHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_ACTIVATE && g_driver)
        g_driver->OnActivate(reinterpret_cast<HWND>(wp));
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

void GuiDriver::OnActivate(HWND window)
{
    if (!IsMessageBox(window))
        return;
    // The same box may be activated again (after another window took the focus).
    if (::GetPropA(window, "GuiDriverSeen"))
        return;
    ::SetPropA(window, "GuiDriverSeen", reinterpret_cast<HANDLE>(1));

    SeenMessageBox box;
    box.caption = TitleOf(window);
    box.text = TitleOf(::GetDlgItem(window, 0xffff));
    box.icon = IconOf(window);
    box.hasYesNo = ::GetDlgItem(window, IDYES) && ::GetDlgItem(window, IDNO);
    box.hasCancel = ::GetDlgItem(window, IDCANCEL) != nullptr;
    if (m_nextAnswer < m_answers.size()) {
        box.answer = m_answers[m_nextAnswer++];
    } else {
        ++m_unexpected;
        box.answer = box.hasCancel ? IDCANCEL : (box.hasYesNo ? IDNO : IDOK);
    }
    m_boxes.push_back(box);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(box.answer, BN_CLICKED), 0);
}

void CALLBACK GuiDriver::StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver)
        g_driver->RunDueStep();
}

void GuiDriver::RunDueStep()
{
    if (m_inStep || m_nextStep >= m_steps.size())
        return;
    HWND menu = OpenMenuWindow();
    if (m_steps[m_nextStep].inMenu) {
        if (!menu)
            return;
        ScriptStep& step = m_steps[m_nextStep++];
        m_inStep = true;
        step.action(menu);
        m_inStep = false;
        return;
    }
    HWND active = ::GetActiveWindow();
    if (!active && !menu) {
        ReactivateStepWindow(m_steps[m_nextStep].title);
        return;
    }
    if (menu || !::IsWindowVisible(active) || !::IsWindowEnabled(active))
        return;
    if (TitleOf(active) != m_steps[m_nextStep].title || IsMessageBox(active))
        return;
    ScriptStep& step = m_steps[m_nextStep++];
    m_inStep = true;
    if (!m_capturePrefix.empty()) {
        char name[160];
        std::snprintf(name, sizeof name, "%s-%02d-%s", m_capturePrefix.c_str(), ++m_captureCount,
                      step.title.c_str());
        SaveWindowScreenshot(active, name);
    }
    step.action(active);
    m_inStep = false;
}

// Without a window manager, Wine hands the X focus over by itself, and a focus-out that the
// X server reports late (from a message box that has just closed) can leave the thread with
// no active window at all. Windows would have activated the box's owner again, so the
// script does what a user's click would do.
void GuiDriver::ReactivateStepWindow(const std::string& title)
{
    for (HWND window : ThreadWindows()) {
        if (::IsWindowVisible(window) && ::IsWindowEnabled(window) && !IsMessageBox(window)
            && TitleOf(window) == title) {
            ::SetActiveWindow(window);
            return;
        }
    }
}

void CALLBACK GuiDriver::WatchdogTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_driver)
        return;
    g_driver->m_watchdogFired = true;
    g_driver->EndAllDialogs();
}

void GuiDriver::EndAllDialogs()
{
    // Innermost first: an open menu, then the enabled windows on top of the modal stack.
    for (int round = 0; round < 8; ++round) {
        ::EndMenu();
        for (HWND window : ThreadWindows()) {
            if (IsDialogClass(window) && ::IsWindowEnabled(window))
                ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

DWORD WINAPI GuiDriver::BackstopThread(void* parameter)
{
    auto* self = static_cast<GuiDriver*>(parameter);
    DWORD limit = static_cast<DWORD>(self->m_watchdogSeconds + 15) * 1000u;
    if (::WaitForSingleObject(self->m_stopEvent, limit) == WAIT_TIMEOUT) {
        std::fprintf(stderr, "GUI test hung beyond its watchdog; ending the process\n");
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), 3);
    }
    return 0;
}

}  // namespace gt
