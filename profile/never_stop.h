// Processes and services that a run never stops: ending or stopping them crashes Windows,
// ends the user's session or breaks every program that talks to the system. Shared by the
// controller (which refuses to stop them) and the GUI (which offers no action for them).
#pragma once

namespace profile {

// True for a process (its executable's file name, or the kernel's pseudo-process names)
// that must never be ended. Compared without regard to letter case.
bool IsNeverStopProcess(const char* exeName);
// True for a service (its key name) that must never be stopped. Compared without regard
// to letter case.
bool IsNeverStopService(const char* keyName);

}  // namespace profile
