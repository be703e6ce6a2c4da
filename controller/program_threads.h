// Worker threads of phases 2 and 9; each takes the parameter block its phase allocated,
// frees it and returns 0.
#pragma once

#include <windows.h>

// Ends every running instance of the block's [Programs] key, one per pass, 500 ms apart;
// records the entry as not running when the first pass found none.
DWORD WINAPI StopProgramThread(LPVOID parameter);
// Starts the block's stored path again.
DWORD WINAPI RestartProgramThread(LPVOID parameter);
