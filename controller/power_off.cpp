// Shutting down or restarting the computer after the run.
#include "controller/phases.h"

bool PowerOff(bool) { return false; }
