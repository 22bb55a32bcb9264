#pragma once
// The step actions' and finish actions' work on a real Windows: shell calls, message boxes, the
// input dialog, programs started and waited for, shell file operations, fonts, the restart.
#include "installer/install/StepLists.h"

StepSystem& windowsStepSystem();
