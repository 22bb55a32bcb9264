#pragma once
// The report's probes over the real system: version, memory, processor, drives, DirectX, .NET,
// Java, display modes, devices, computer facts, installed products, and the plug-in library's
// lines through a list box.
#include "installer/sysinfo/SystemFacts.h"

#include <windows.h>

// listBox receives the plug-in library's lines (none when it is null).
SystemFacts systemFacts(HWND listBox);

// The screen of the given window (null: the whole screen).
DisplayMode currentDisplayMode(HWND window);
std::uint64_t physicalMemoryBytes();
// Every mode of the primary display after the initialising query of mode 0.
std::vector<DisplayMode> displayModes();
// Every fixed drive's root and the bytes available to the user there.
std::vector<DriveSpace> fixedDrives();

// The lines of a list box in order as UTF-8; the list box is emptied.
std::vector<ByteString> takeListBoxLines(HWND listBox);
