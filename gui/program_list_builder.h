// ProgramListBuilder: fills the Programs dialog's list from the running processes.
// OnProcess adds a row per listed process (item data: the process id, "Currently
// Running?" = "Yes"); OnModule gives the first row whose Module text is the module's
// file name that module's path and the action stored for it in the current profile.
// Both always continue the walk.
#pragma once

#include "procenum/process_enumerator.h"

#include <windows.h>

#include <string>

class CListCtrl;

class ProgramListBuilder : public ProcessEnumerator {
public:
    // Columns of the Programs dialog's list.
    enum Column { kModuleColumn = 0, kPathColumn = 1, kActionColumn = 2, kRunningColumn = 3 };

    ProgramListBuilder() = default;

    CListCtrl* m_list = nullptr;
    std::string m_profile;  // the profile whose [Programs] actions the rows get

    // Gives every row (in list order) its program's path, as OnModule does for the
    // program's own module: through the process's image name where the system can tell
    // it (Windows Vista and later), which costs one call instead of a walk of all the
    // process's modules; otherwise, or when that fails, through the module walk.
    void FindPaths();

    BOOL OnProcess(const char* processName, DWORD processId) override;
    BOOL OnModule(HMODULE module, const char* fullPath, const char* moduleName) override;
};
