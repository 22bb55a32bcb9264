#pragma once
// The installer's main window behind the wizard pages: it shows the background picture, redraws
// it when the display settings change, and is the parent of the pages.
#include <windows.h>

// Makes the window over the background area stored in the installer context, with the styles
// the background flags ask for, and records it as the main window; null when it cannot be made.
HWND createBackgroundWindow(HINSTANCE instance);

// The window styles for the background flags.
DWORD backgroundWindowStyle(unsigned flags);
