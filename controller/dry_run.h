// "zephrun --dry-run profile.ini": what each phase of a run of the profile would do,
// worked out from the profile, the running processes and the services' states. Nothing is
// stopped, started or written: no process, service, registry value, journal or log file.
#pragma once

#include <windows.h>

void RunDryRun(const OSVERSIONINFOA& version);
