#pragma once
// The installation run: the phases in their order (files, the MP3 and JPEG conversions, the
// registry, INI entries, text files, shortcuts, library registration and the commit of the
// uninstall data) with the progress of both bars. Operations of later phases come through
// gInstallOperations; a run that finds one of them not connected fails before it changes
// anything, naming what is missing.
#include "installer/state/InstallerState.h"

#include <cstdint>

// 1 installed, 0 failed. pageWindow owns the run's boxes (null in a silent run).
std::uint8_t runInstallation(OpaqueHandle pageWindow);

// Moves the bars (not in a silent run): phasePercent of the current phase, done bytes of it.
void setProgress(std::int32_t phasePercent, std::uint64_t done);

// A silent run takes the byte totals of the installation type the package chose: minimal or
// typical from the package header; a custom installation keeps the totals it has.
void applySelectedTotals();

// The free bytes of the destination's drive, or of its network share.
std::uint64_t destinationFreeSpace();
