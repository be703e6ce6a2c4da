// Resource numbers of the GUI's icons and menu bitmaps (listed in art.rc).
// Shared by the resource script and the code; no other header defines them.
#pragma once

// Icons
#define IDI_ZEPHLAUNCH          134  // application and window icon
#define IDI_SERVICES            138  // main window: Services button
#define IDI_PROGRAMS            139  // main window: Programs button
#define IDI_CONFIGURE           140  // main window: Configure button
#define IDI_START               141  // main window: Start button
#define IDI_SAVE                143  // floppy disk: every Save button
#define IDI_RESET               144  // Reset button of the list dialogs
#define IDI_RUNNING             145  // Running button of the list dialogs
#define IDI_DELETE              146  // red cross: Delete/Remove, default list image
#define IDI_BROWSE              147  // open folder: Browse
#define IDI_WEB                 160  // About box: web site
#define IDI_EMAIL               161  // About box: support e-mail
#define IDI_EDIT                166  // document with pen: Edit
#define IDI_ADD                 167  // open folder with plus: Add

// Menu bitmaps (16 x 15)
#define IDB_EXIT                155
#define IDB_NEW                 156
#define IDB_DELETE              157
#define IDB_CREATE_SHORTCUT     158
#define IDB_ABOUT               162
#define IDB_SERVICE_MANAGER     163
#define IDB_PROGRAM_OPTIONS     165
