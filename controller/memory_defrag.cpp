// Phase 4: pushes other programs' memory out to the paging file.
#include "controller/phases.h"

void DefragmentMemory() {}
