#pragma once
// The installer's one message box. Texts are UTF-8. In silent mode nothing is shown and the
// box's default answer is returned.
#include <windows.h>

// The window that owns the current page's dialogs; null while no page is shown.
using PageWindowFunction = HWND (*)();
void setCurrentPageWindowFunction(PageWindowFunction function);

int messageBox(HWND owner, const char* text, const char* caption, UINT type);
// messageBox with MB_ICONERROR; a null text shows "Out of memory".
int errorBox(HWND owner, const char* text, const char* caption);
