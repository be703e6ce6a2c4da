#include "zephlaunch_app.h"

// The one application object.
CZephlaunchApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return RunApplication(); }
