#pragma once
// The bar on the busy note (dialog 18) while the installer copies itself off a network path:
// as wide as the note's text (item 1058) less 5 pixels, 19 high, its right edge 15 pixels and
// its top 35 pixels from the right and bottom of the dialog's client area.
#include "ProgressBar.h"

constexpr int kBusyNoteDialogId = 18;
constexpr int kBusyNoteTextId = 1058;

// The result of ProgressBar::create; -2 when the dialog has no text item.
int placeCopyProgressBar(ProgressBar& bar, HWND dialog);
