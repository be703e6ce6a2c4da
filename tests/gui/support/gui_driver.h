// Drives modal dialogs of this thread the way a user would: a WH_CBT hook catches
// every message box when it is activated, records its caption, text and icon and
// presses the next prepared answer; a script of steps runs from a thread timer, each
// step waiting until a window with the given title is the active window of this
// thread and then acting on it (clicks, menu commands, typed text). A watchdog ends
// every dialog of the thread when a scenario takes too long, and ends the process
// when even that does not help, so a broken dialog never hangs the test run.
#pragma once

#include <windows.h>

#include "support/message_pump.h"

#include <functional>
#include <string>
#include <vector>

namespace gt {

enum class BoxIcon { None, Information, Exclamation, Hand, Question };

struct SeenMessageBox {
    std::string caption;
    std::string text;
    BoxIcon icon = BoxIcon::None;
    bool hasYesNo = false;
    bool hasCancel = false;
    int answer = 0;  // the button pressed
};

class GuiDriver {
public:
    using Action = std::function<void(HWND window)>;

    GuiDriver();
    ~GuiDriver();
    GuiDriver(const GuiDriver&) = delete;
    GuiDriver& operator=(const GuiDriver&) = delete;

    // Button ids pressed on the next message boxes, in order. A message box without a
    // prepared answer is recorded as unexpected and closed with IDCANCEL (or IDOK).
    void Answer(std::vector<int> answers);
    // Waits for an active window titled exactly title (with no menu open), then runs
    // action on it. Actions must not wait for what they start: a step that opens a
    // modal window or a menu only posts the input, and the next step picks it up.
    void Step(const std::string& title, Action action);
    // Waits for an open popup menu of this thread, then runs action on the menu window.
    void StepInMenu(Action action);
    // Starts the script and the watchdog (seconds).
    void Start(int watchdogSeconds = 20);
    void Stop();
    // Stop, then the checks every script ends with: the watchdog did not fire, every step
    // ran, and no message box came that the script had no answer for.
    void StopAndExpectClean();

    const std::vector<SeenMessageBox>& MessageBoxes() const { return m_boxes; }
    int UnexpectedMessageBoxes() const { return m_unexpected; }
    bool WatchdogFired() const { return m_watchdogFired; }
    bool AllStepsRun() const { return m_nextStep == m_steps.size(); }
    size_t StepsRun() const { return m_nextStep; }
    // Screenshots of every window a step acted on, named <prefix>-<n>-<title>.png.
    void CaptureEachStep(const std::string& prefix) { m_capturePrefix = prefix; }

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wp, LPARAM lp);
    static void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK WatchdogTimer(HWND, UINT, UINT_PTR, DWORD);
    void ReactivateStepWindow(const std::string& title);
    static DWORD WINAPI BackstopThread(void* parameter);
    void OnActivate(HWND window);
    void RunDueStep();
    void EndAllDialogs();

    struct ScriptStep {
        std::string title;
        bool inMenu;
        Action action;
    };

    HHOOK m_hook = nullptr;
    UINT_PTR m_stepTimer = 0;
    UINT_PTR m_watchdogTimer = 0;
    HANDLE m_backstop = nullptr;
    HANDLE m_stopEvent = nullptr;
    int m_watchdogSeconds = 20;
    std::vector<int> m_answers;
    size_t m_nextAnswer = 0;
    std::vector<ScriptStep> m_steps;
    size_t m_nextStep = 0;
    bool m_inStep = false;
    std::vector<SeenMessageBox> m_boxes;
    int m_unexpected = 0;
    bool m_watchdogFired = false;
    std::string m_capturePrefix;
    int m_captureCount = 0;
};

// Helpers for steps.
HWND OpenMenuWindow();  // the visible popup menu of this thread, or null
HWND Item(HWND dialog, int id);
void Click(HWND dialog, int id);    // BM_CLICK on a button
void Command(HWND window, int id);  // WM_COMMAND as from a menu
void TypeText(HWND dialog, int id, const std::string& text);
std::string TitleOf(HWND window);
// Waits up to the given time for a visible top-level window of another process that
// matches; null when none came.
HWND WaitForProcessWindow(DWORD processId, const std::function<bool(HWND)>& match,
                          DWORD milliseconds = 15000);
// A copy of Zephlaunch.exe run as a process of its own (standard handles from NUL), in a
// working folder; ended on destruction when it still runs.
class GuiProcess {
public:
    GuiProcess(const std::string& exePath, const std::string& workDir);
    ~GuiProcess();
    GuiProcess(const GuiProcess&) = delete;
    GuiProcess& operator=(const GuiProcess&) = delete;
    HANDLE Handle() const { return m_process; }
    DWORD Id() const { return ::GetProcessId(m_process); }
    // Its visible main window "Zephlaunch - zephlaunch" (null when none came).
    HWND WaitForMain() const;
    // Its exit code once it ended, STILL_ACTIVE when it did not end in time.
    DWORD WaitForEnd(DWORD milliseconds = 15000) const;

private:
    HANDLE m_process = nullptr;
};

// A message box of another process (its framework dialogs are not known here): a system
// dialog with a message text that is not the main window.
bool IsProcessMessageBox(HWND window);

}  // namespace gt
