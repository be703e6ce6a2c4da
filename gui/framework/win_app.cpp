#include "framework/win_app.h"

#include <commctrl.h>

#include <cstring>

namespace {

CWinApp* g_application = nullptr;

}  // namespace

CWinApp::CWinApp(const char* appName)
{
    g_application = this;
    if (appName) {
        m_pszAppName = appName;
        return;
    }
    // No name given: the executable's file name without its extension.
    char path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = "Zephlaunch";
    if (length > 0 && length < MAX_PATH) {
        const char* slash = std::strrchr(path, '\\');
        name = slash ? slash + 1 : path;
    }
    lstrcpynA(m_exeName, name, MAX_PATH);
    char* dot = std::strrchr(m_exeName, '.');
    if (dot)
        *dot = '\0';
    m_pszAppName = m_exeName;
}

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::Run()
{
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    m_exitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

int CWinApp::ExitInstance() { return m_exitCode; }

CWinApp* AfxGetApp() { return g_application; }

HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleA(nullptr); }

int AfxMessageBox(const char* text, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = ::GetActiveWindow();
    return ::MessageBoxA(owner, text, app ? app->m_pszAppName : "Zephlaunch", type);
}

int RunApplication()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
