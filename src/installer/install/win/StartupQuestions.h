#pragma once
// The message box of the start-up checks: the installer's own, which tests replace.
#include <windows.h>

// Null restores the installer's message box. A silent run answers without calling it.
using StartupMessageBox = int (*)(const char* text, const char* caption, UINT type);
StartupMessageBox setStartupMessageBox(StartupMessageBox box);

// Texts are UTF-8; a null caption is the installer's default caption.
int askAtStartup(const char* text, const char* caption, UINT type);
