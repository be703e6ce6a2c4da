// Helpers for the tests of the Programs and Services dialogs: settings for running
// those dialogs without the main window, cells of the action list as a user sees
// them (screen points, texts), the in-place drop-down, and notifications the list
// would send.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gt {

// A first start's settings folder and the globals that the main window's
// initialisation sets (current profile: the default profile, written from iniText).
void PrepareListDialogSettings(const std::string& profileIniText);

int FindRow(HWND list, const std::string& text);  // column 0, whole text; -1 when missing
std::string CellText(HWND list, int row, int column);
// Screen point at the centre of a cell (LVM_GETSUBITEMRECT).
POINT CellPoint(HWND list, int row, int column);
// Scrolls the row into view, posts a left click at the cell's centre and lets it be handled.
void ClickCell(HWND list, int row, int column);
// The in-place drop-down over the list, or null.
HWND InPlaceCombo(HWND list);
// Drops the combo's list and clicks item index in it, as a user picks an entry.
bool PickFromCombo(HWND combo, int index);
// Sends the LVN_HOTTRACK the list sends when the mouse rests on a row (Wine's list
// view sends none).
void SendHotTrack(HWND dialog, HWND list, int row);
// The help window beside a dialog (its owned window titled helpTitle), or null.
HWND HelpWindowOf(HWND dialog, const char* helpTitle);
std::string HelpText(HWND help);
// Pumps messages for a while (what the modal loop would do between steps).
void Settle(int milliseconds = 150);

}  // namespace gt
