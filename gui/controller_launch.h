// Starting the controller (zephrun.exe) for a profile, and shortcuts that start it.
//
// The controller is the zephrun.exe next to Zephlaunch.exe (the folder of the running
// program). A run that stops services or ends explorer.exe needs administrator rights:
// on Windows Vista and later, when the GUI is not elevated, Start asks the shell to run
// the controller with the "runas" verb (RunShellExecute, framework/shell_execute.h),
// and shortcuts of such a profile get the run-as-administrator flag. Windows 9x, NT 4,
// 2000 and XP never do either.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// Full path of the controller: "<folder of this program>\zephrun.exe"; empty when this
// program cannot tell its own folder.
std::string ControllerPath();
// The folder of this program (no trailing backslash), empty when it cannot be told.
// Replaceable for tests, which cannot make GetModuleFileName fail.
using OwnFolderLookup = std::string (*)();
OwnFolderLookup SetOwnFolderLookup(OwnFolderLookup lookup);  // null: the platform; returns the previous

struct ElevationState {
    bool accountControl = false;  // Windows Vista or later (user account control exists)
    bool elevated = false;        // this process runs with administrator rights
};
using ElevationProbe = ElevationState (*)();
// The platform's answer (version, then the process token's elevation).
ElevationState ProbeElevation();
// Through the current probe (ProbeElevation unless a test replaced it).
ElevationState QueryElevation();
ElevationProbe SetElevationProbe(ElevationProbe probe);  // null: the platform; returns the previous

// Reads [Programs] and [Services] of the profile (gui_logic::RunNeedsAdministrator).
bool ProfileNeedsAdministrator(const std::string& profilePath);

struct ControllerStart {
    bool started = false;
    bool noController = false;  // this program's folder is unknown: nothing was tried
    bool elevatedVerb = false;  // started through the shell with "runas"
    HANDLE process = nullptr;   // to wait for; may be null after "runas"; the caller closes it
    DWORD error = 0;            // ERROR_CANCELLED: the user declined the elevation prompt
    std::string commandLine;    // as tried
    std::string folder;         // the controller's working folder (the current directory)
};
// Starts the controller for the profile in a new console, working in the current
// directory, elevated when the profile needs it (see above).
ControllerStart StartController(HWND owner, const std::string& profilePath);

// Sets the run-as-administrator flag of a shell link (SLDF_RUNAS_USER through
// IShellLinkDataList). Replaceable for tests, which cannot read the flag back where
// the shell does not store it.
using LinkRunAsSetter = HRESULT (*)(IShellLinkA* link);
HRESULT SetLinkRunAsFlag(IShellLinkA* link);
LinkRunAsSetter SetLinkRunAsSetter(LinkRunAsSetter setter);  // null: SetLinkRunAsFlag

enum class ShortcutResult { Saved, NoShellLink, SaveFailed, NoController };
// Writes "<folder>\Zephlaunch <name>.lnk" for the profile (target the controller,
// working folder the controller's, argument the quoted profile path, description, icon
// from fspath when set).
ShortcutResult WriteProfileShortcut(const std::string& folder, const std::string& profilePath);

// The controller's command line: its quoted path (ControllerPath) and arguments as given.
std::string ControllerCommandLineWith(const std::string& arguments);

// Starts the controller with arguments in a new console, working in the current
// directory (as Start does). On success the caller owns both handles of process; on
// failure false with the reason in GetLastError().
bool StartControllerInConsole(const std::string& arguments, PROCESS_INFORMATION& process);

// Runs the controller without a window, collects its standard output and error through a
// pipe and waits for it to end (at most timeoutMs, after which it is ended), handling this
// thread's messages meanwhile (the caller shows a WaitWindow). False with the reason in
// error when it could not be started.
bool CaptureControllerOutput(const std::string& arguments, DWORD timeoutMs, std::string& output,
                             DWORD& error);

// True when a run journal of this computer belongs to a run that ended without finishing
// (what "zephrun.exe --restore" would put back); needsAdministrator, when given, tells
// whether any such journal holds services or the shell-restart value.
bool UnfinishedRunJournalExists(bool* needsAdministrator = nullptr);

struct RestoreRun {
    bool started = false;
    DWORD error = 0;        // why it did not start
    bool finished = false;  // ended within the time, with exitCode
    DWORD exitCode = 0;
    std::string output;  // what it printed
};
// Runs "zephrun.exe --restore <file>" without a window, through the shell's "runas" verb
// when elevate is set on Windows Vista and later and this GUI is not elevated, waits for it
// (at most timeoutMs, handling this thread's messages: the caller shows a WaitWindow) and
// reads its output back from the file. A declined elevation prompt leaves error
// ERROR_CANCELLED.
RestoreRun RunControllerRestore(HWND owner, bool elevate, DWORD timeoutMs);
