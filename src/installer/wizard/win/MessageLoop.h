#pragma once
// The installer's one message loop and the single dispatch that long work runs between its steps.
#include <windows.h>

// Runs until WM_QUIT and returns its code. Messages for the current page's own window go
// through the dialog manager (tab, Enter, Escape).
WPARAM messageLoop();

constexpr int kNoMessagePending = 0;
constexpr int kQuitTaken = -1;
constexpr int kMessageDispatched = 1;
// Takes and dispatches one pending message, if any. A WM_QUIT is reported and left pending for
// the message loop.
int pumpOneMessage();
