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

// Preview run (output of the controller's dry run) and its menu command
#define IDD_PREVIEW_RUN             170
#define IDC_PREVIEW_TEXT            1090
#define ID_FILE_PREVIEW_RUN         32790

// About box (template 100)
#define IDD_ABOUTBOX                100
#define IDC_ABOUT_EMAIL_LINK        1046
#define IDC_ABOUT_WEB_LINK          1047
#define IDC_ABOUT_WEB_BUTTON        1048
#define IDC_ABOUT_EMAIL_BUTTON      1049
#define IDC_ABOUT_LIBRARY_LINK      1050

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
#define IDD_SERVICES                130
#define IDD_PROGRAMS                131
#define IDD_CONFIGURE               132
#define IDD_EDIT_CMDLINE            133
#define IDD_LIST_HELP               136

// Configure (template 132)
#define IDC_CONFIGURE_AUTOSTART_LIST    1003
#define IDC_CONFIGURE_APP_PATH          1010
#define IDC_CONFIGURE_BROWSE            1011
#define IDC_CONFIGURE_ADD               1013
#define IDC_CONFIGURE_DELETE            1014
#define IDC_CONFIGURE_EDIT              1015
#define IDC_CONFIGURE_SAVE              1017
#define IDC_CONFIGURE_NONRESPONSE       1018
#define IDC_CONFIGURE_NONRESPONSE_LABEL 1019
#define IDC_CONFIGURE_AUTOSTART_GROUP   1020
#define IDC_CONFIGURE_CMDLINE           1022
#define IDC_CONFIGURE_PRIORITY          1023
#define IDC_CONFIGURE_DEFRAG            1025
#define IDC_CONFIGURE_IDLE_TASKS        1027
#define IDC_CONFIGURE_AUTOSTART_DELAY   1031
#define IDC_CONFIGURE_MISC_GROUP        1032
#define IDC_CONFIGURE_APP_GROUP         1033
#define IDC_CONFIGURE_PAUSE             1034
#define IDC_CONFIGURE_SHUTDOWN          1035
#define IDC_CONFIGURE_RESTART           1036
#define IDC_CONFIGURE_DESCRIPTION       1039
#define IDC_CONFIGURE_NOT_MAIN_APP      1041
#define IDC_CONFIGURE_LOGGING           1042
#define IDC_CONFIGURE_DO_NOT_LAUNCH     1043
#define IDC_CONFIGURE_POWER_PLAN        1052
#define IDC_CONFIGURE_KEEP_AWAKE        1053
#define IDC_CONFIGURE_MAIN_APP_WAIT     1054
#define IDC_CONFIGURE_MAIN_APP_WAIT_LABEL 1055

// Edit Auto Start Program (template 133); its Save button is IDOK
#define IDC_EDIT_CMDLINE_TEXT           1021
#define IDC_EDIT_CMDLINE_DELAY          1026
