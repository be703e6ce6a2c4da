// [Configuration] powerplan=1: the run switches Windows to its High performance power plan
// (Windows 2000/XP: the "Always On" scheme) before phase 5 starts the main application, and
// back in phase 8. The plan that was active goes into the run journal first; it is put back
// only while the plan the run chose is still the active one (a plan the user picked during the
// run stays), and never replaced by another when it no longer exists.
#pragma once

#include <windows.h>

#include "journal/journal_text.h"

// Before phase 5; prints one line naming both plans (or why nothing is switched).
void SwitchPowerPlanForRun(const OSVERSIONINFOA& version);
// Phase 8, before the services start: puts the recorded plan back by the rule above.
void SwitchPowerPlanBack();
// --restore: puts back a dead run's plan by the same rule. False when the switch failed;
// the plans then stay in left.
bool RestorePowerPlan(const JournalRecord& journal, JournalRecord& left);
// --dry-run: the line a run would print, as "Would ...".
void DescribePowerPlan(const OSVERSIONINFOA& version);
