// CZephlaunchApp: the application object; runs the main window modally and ends.
#pragma once

#include "framework/win_app.h"

class CZephlaunchApp : public CWinApp {
public:
    CZephlaunchApp() : CWinApp(nullptr) {}
    BOOL InitInstance() override;
};
