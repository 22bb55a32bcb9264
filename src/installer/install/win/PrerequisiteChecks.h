#pragma once
// The prerequisite setups over the real system: once per run, from the wizard or the silent run.
#include "installer/install/Prerequisites.h"

// What this computer has installed, asked through the installer's own detections; setups run
// and are waited for through the step system's runAndWait (its wait note, messages flowing).
PrerequisiteSystem systemPrerequisites();
// Checks the package's prerequisites; a declined or cancelled setup ends the installer (with
// rollback).
void checkPrerequisites();
// The installation run's operation: the same check, true when the run goes on.
bool checkPrerequisitesForRun();

