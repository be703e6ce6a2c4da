// Resource numbers of Zephlaunch.exe: dialog templates, their controls, menus and
// commands. Icons and menu bitmaps are numbered in art_ids.h.
#pragma once

#include "art_ids.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Main window (template 102)
#define IDD_ZEPHLAUNCH_DIALOG       102
#define IDC_SERVICES                1002
#define IDC_PROGRAMS                1003
#define IDC_CONFIGURE               1004
#define IDC_START                   1005
#define IDC_PROFILE_LIST            1038

// Menus: menu bar and the profile list's context menu
#define IDR_MAIN_MENU               151
#define IDR_PROFILE_MENU            142
#define ID_FILE_NEW                 57600
#define ID_FILE_DELETE              32782
#define ID_FILE_CREATE_SHORTCUT     32783
#define ID_APP_EXIT                 57665
#define ID_TOOLS_PROGRAM_OPTIONS    32785
#define ID_TOOLS_SERVICE_MANAGER    32786
#define ID_DONATE                   32772
#define ID_APP_ABOUT                32773

// New Profile (template 137)
#define IDD_NEW_PROFILE             137
#define IDC_NEW_PROFILE_DESCRIPTION 1021
#define IDC_NEW_PROFILE_NAME        1040
#define IDC_NEW_PROFILE_BLANK       1044
#define IDC_NEW_PROFILE_COPY        1045

// Program Options (template 164)
#define IDD_PROGRAM_OPTIONS         164
#define IDC_ENABLE_TOOLTIPS         1051

// Services (template 130) and Programs (template 131): the action list and its buttons
#define IDC_ACTION_LIST             1003
#define IDC_LIST_RUNNING            1004
#define IDC_LIST_SAVE               1006
#define IDC_LIST_REMOVE             1035
#define IDC_LIST_RESET              1036
// The in-place drop-down over an action cell (a child of the list, not of a dialog)
#define IDC_INPLACE_LIST            101

// List help window (template 136)
#define IDC_LIST_HELP_TEXT          1028

// Templates of the other dialogs
#define IDD_ABOUTBOX                100
#define IDD_SERVICES                130
#define IDD_PROGRAMS                131
#define IDD_CONFIGURE               132
#define IDD_EDIT_CMDLINE            133
#define IDD_LIST_HELP               136
