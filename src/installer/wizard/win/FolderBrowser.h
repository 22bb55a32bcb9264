#pragma once
// The shell's folder browser. OK is disabled while the selected drive has less space available
// than required. outPath (260 bytes) receives the chosen folder, or an empty text on cancel.
#include <windows.h>

#include <cstdint>

void browseForFolder(HWND owner, const char* title, char* outPath, std::uint32_t requiredLow, std::uint32_t requiredHigh,
                     const char* initialFolder);
