// Runs the GUI's windows in-process for a test: the application object, the main
// window run modally as the program runs it, and questions the tests ask of windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gt {

class GuiDriver;

// Makes sure the application object and the common controls exist.
void PrepareApplication();
// Runs the program's start-up (the application object's instance initialisation).
void RunApplicationOnce();
// Runs the main window modally; returns its result.
INT_PTR RunMainWindow();
// Runs the main window under the driver's script (watchdog in seconds) and checks that
// the script ran cleanly (GuiDriver::StopAndExpectClean).
void RunMainWindowScript(GuiDriver& driver, int watchdogSeconds = 20);
// Clicks buttonId of the main window, waits for the dialog titled dialogTitle, notes its
// owner, closes it with close and ends the main window.
struct DialogOwnership {
    HWND mainWindow = nullptr;
    HWND owner = nullptr;
};
DialogOwnership OpenDialogFromMainWindow(int buttonId, const std::string& dialogTitle,
                                         void (*close)(HWND dialog));

// Texts of column 0 of a list view, in list order.
std::vector<std::string> ListItems(HWND list);
int ListImage(HWND list, int item);
int SelectedItem(HWND list);
// Screen point at the centre of an item's label area.
POINT ItemCentre(HWND list, int item);
// Moves the cursor there and posts the button press and release, as a click arrives.
void ClickAt(HWND window, POINT screenPoint, bool right);
// The tool-tip control owned by a dialog (null when there is none).
HWND ToolTipOf(HWND dialog);
// Hovers the cursor over a control and waits for the dialog's tool tip to show;
// true when it appeared (a picture of it is saved under screenshotName when given).
// The tip is hidden again afterwards.
bool ToolTipAppearsOver(HWND dialog, int controlId, const char* screenshotName = nullptr);
// The other side: no tip shows over the control. An active tip shows within a few tens of
// milliseconds of the hover (its delay is set to 1 ms), so this waits 300 ms, not the 2 s
// bound that a shown tip gets.
bool ToolTipStaysHidden(HWND dialog, int controlId);
// The tip text of a control of the dialog (TTM_GETTEXT); "<no tool>" when it has none.
std::string ToolTipText(HWND dialog, int controlId);
// The window rectangle as "l,t,r,b".
std::string RectText(HWND window);
// The rectangle saved under section of the window-position file, as "l,t,r,b" (each
// "<missing>" when absent).
std::string SavedRect(const char* section);
std::string ReadIni(const std::string& file, const char* section, const char* key);

}  // namespace gt
