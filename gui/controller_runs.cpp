#include "controller_runs.h"

#include "controller_launch.h"
#include "dialogs/preview_run_dlg.h"

#include <cstdio>

// What a run of the current profile would do: the controller's dry run, captured.
void ShowRunPreview(HWND owner, const std::string& profilePath)
{
    std::string output;
    DWORD error = 0;
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    const bool ran = CaptureControllerOutput("--dry-run \"" + profilePath + "\"", 60000, output, error);
    ::SetCursor(previous);
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
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    const RestoreRun run = RunControllerRestore(owner, needsAdministrator, 10 * 60 * 1000);
    ::SetCursor(previous);
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
