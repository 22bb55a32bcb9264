#pragma once
// Special folders by their shell numbers (CSIDL values).
#include <windows.h>

// The folder's path into the 260-byte buffer: the Explorer "Shell Folders" values first for the
// folders listed there, else the shell's location. False only when the shell does not know it.
bool getSpecialFolder(int number, char* buffer);
// The shell's location as UTF-16 (260 characters), through the wide path function.
bool getSpecialFolderWide(int number, wchar_t* buffer);
