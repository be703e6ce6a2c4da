// CWinApp: the application object. The program's WinMain hands control to
// RunApplication, which calls InitInstance and, when that returns TRUE, runs the
// message loop; ExitInstance gives the exit code.
#pragma once

#include "framework/wnd.h"

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();

    virtual BOOL InitInstance();
    virtual int Run();
    virtual int ExitInstance();

    const char* m_pszAppName;  // the program's name (the executable's name when none is given)
    CWnd* m_pMainWnd = nullptr;
    int m_exitCode = 0;

private:
    char m_exeName[MAX_PATH] = {};
};

CWinApp* AfxGetApp();
// The module whose resources the framework loads (templates, menus, icons, strings).
HINSTANCE AfxGetResourceHandle();
// A message box owned by the active window, captioned with the application's name.
int AfxMessageBox(const char* text, UINT type = MB_OK);
// InitInstance, the message loop and ExitInstance of the one application object.
int RunApplication();
