// Resource numbers of the control tests' own resources (beside the GUI's art).
#pragma once

#define IDM_TEST_MENU 500
#define IDM_TEST_CONTEXT 501
#define IDB_TEST_MISSING 999  // no such bitmap

#define ID_TEST_NEW 57600
#define ID_TEST_DELETE 32782
#define ID_TEST_SHORTCUT 32783
#define ID_TEST_EXIT 57665
#define ID_TEST_OPTIONS 32785
#define ID_TEST_SERVICES 32786
#define ID_TEST_DONATE 32772
#define ID_TEST_INNER 40001
#define ID_TEST_NOTHING 40002
#define ID_TEST_CHECKED 40003
