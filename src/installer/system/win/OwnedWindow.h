#pragma once
// The window a person works in when a window they bring forward owns others: the uppermost
// visible, enabled top-level window that the given window owns (a page over its background).
#include <windows.h>

// Null when the window owns no such window.
HWND frontOwnedWindow(HWND owner);
