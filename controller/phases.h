// The work of the nine phases, called in order by the entry routine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class ProgramsMode { Stop, Restart };
enum class ServicesMode { Stop, Start };
enum class AutoStartMode { Start, Stop };

// Phase 1: Windows' pending idle-time tasks, when enabled and on Windows XP / Server 2003.
void RunIdleTasksStep(const OSVERSIONINFOA& version);
// Phases 2 and 9.
void HandleProgramsSection(ProgramsMode mode);
// Phases 3 and 8 (NT family only).
void HandleServicesSection(ServicesMode mode);
// The keys of the [Services] entries with an action (a dependent with an entry of its own
// is stopped and started by that entry).
std::vector<std::string> ListedServiceKeys();
// Phase 4 body (after its heading).
void DefragmentMemory();
// Phases 5 to 7; false when the main application could not be launched or found.
bool RunMainApplication();
// Phases 6 and 7 (called by RunMainApplication): phase 7 ends only what phase 6 started.
void HandleAutoStartSection(AutoStartMode mode);
// End of run: shut down (false) or restart (true) the computer. A step that fails is reported.
bool PowerOff(bool restart, const OSVERSIONINFOA& version);
