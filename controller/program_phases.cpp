// Phases 2 and 9: stopping and restarting the programs of [Programs].
#include "controller/phases.h"

void HandleProgramsSection(ProgramsMode) {}
