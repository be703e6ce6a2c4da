// Phases 3 and 8: stopping and restarting the services of [Services].
#include "controller/phases.h"

void HandleServicesSection(ServicesMode) {}
