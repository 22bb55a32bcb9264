#pragma once
// The installer's main window: the background behind the wizard, the parent of the pages and the
// place where pages are asked for (WM_USER, wParam the page type, lParam 1).
#include <windows.h>

constexpr LPARAM kShowPageRequest = 1;
// Posted when the main window is activated while a page of its own is open: the page takes over.
constexpr LPARAM kActivatePageRequest = 2;

// Registers the window class and makes the main window over the work area (the whole screen for
// a full-screen background), with the About item in its system menu, and builds the background
// picture. Null when the window cannot be made.
HWND createMainWindow(HINSTANCE instance);

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
