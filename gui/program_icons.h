// Programs' icons for the lists that show them: the main window's profiles and the
// Configure dialog's auto-start programs.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

// The program's first icon, or its associated icon; null when it yields none. The caller
// destroys it.
HICON ExtractProgramIcon(const std::string& program);

// Appends the icons of the programs to the image list, in one strip where it can, and
// returns for each program its image, or 0 when it yields no icon (image 0 is the
// list's own placeholder).
std::vector<int> AddProgramIcons(HIMAGELIST list, const std::vector<std::string>& programs);
