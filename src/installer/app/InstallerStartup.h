#pragma once
// The installer's start-up and main flow; returns the process's exit code.
#include <windows.h>

int runInstaller(HINSTANCE instance);
// Resets the run's state and reads the module path and the command line.
int initInstaller(HINSTANCE instance);
