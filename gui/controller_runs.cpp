#include "controller_runs.h"

#include "controller_launch.h"
#include "dialogs/preview_run_dlg.h"
#include "wait_window.h"

#include <cstdio>

// What a run of the current profile would do: the controller's dry run, captured.
void ShowRunPreview(HWND owner, const std::string& profilePath)
{
    std::string output;
    DWORD error = 0;
    bool ran = false;
    {
        WaitWindow waiting(owner, "Preparing the preview...");
        ran = CaptureControllerOutput("--dry-run \"" + profilePath + "\"", 60000, output, error);
    }
    if (!ran) {
        char text[2 * MAX_PATH + 64];
        std::snprintf(text, sizeof text, "Unable to start %s\r\nError = %d",
                      ControllerCommandLineWith(std::string()).c_str(), static_cast<int>(error));
        ::MessageBoxA(owner, text, "Zephlaunch", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CPreviewRunDlg dialog;
    dialog.m_text = output;
    dialog.DoModal();
}

void WaitForRunToEnd(HWND owner, HANDLE process)
{
    WaitWindow waiting(owner, "Zephlaunch run in progress...");
    WaitWindow::Wait(process, INFINITE);
}

// A run that died (console closed, crash, power failure) left programs and services
// stopped; its journal says which. The user decides whether to put them back now.
void OfferRestoreOfUnfinishedRun(HWND owner)
{
    bool needsAdministrator = false;
    if (!UnfinishedRunJournalExists(&needsAdministrator))
        return;
    if (::MessageBoxA(
            owner,
            "A previous Zephlaunch run did not finish. Restore the programs and services it stopped now?",
            "Zephlaunch", MB_YESNO | MB_ICONQUESTION)
        != IDYES)
        return;
    // Services and the shell-restart value need administrator rights; the outcome is shown
    // here, as the restore runs without a console of its own.
    RestoreRun run;
    {
        WaitWindow waiting(owner, "Restoring...");
        run = RunControllerRestore(owner, needsAdministrator, 10 * 60 * 1000);
    }
    if (!run.started && run.error == ERROR_CANCELLED) {  // the elevation prompt was declined
        ::MessageBoxA(owner,
                      "The restore was cancelled: it was not allowed to run with administrator rights. "
                      "Zephlaunch offers it again at its next start.",
                      "Zephlaunch", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!run.started) {
        char text[2 * MAX_PATH + 64];
        std::snprintf(text, sizeof text, "Unable to start %s\r\nError = %d",
                      ControllerCommandLineWith("--restore").c_str(), static_cast<int>(run.error));
        ::MessageBoxA(owner, text, "Zephlaunch", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CPreviewRunDlg dialog;
    dialog.m_text = run.output;
    if (!run.finished) {
        dialog.m_caption = "Restore - still running, outcome unknown";
    } else if (run.exitCode == 0) {
        dialog.m_caption = "Restore - succeeded";
    } else {
        dialog.m_caption = "Restore - failed, exit code " + std::to_string(run.exitCode);
    }
    dialog.DoModal();
}
