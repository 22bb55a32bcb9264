#pragma once
// The report of this computer against the package's requirements, with the installer's state:
// the requirements, language texts and package figures in, the results block and the cached
// system numbers out.
#include "installer/text/ByteString.h"

#include <windows.h>

#include <cstdint>
#include <functional>

// listBox receives the plug-in library's lines (null: the plug-in is not asked). progress (may
// be empty) receives the percentage after each probe. Returns true.
bool collectSystemInfo(ByteString& report, const std::function<void(std::int32_t percent)>& progress, HWND listBox);

// The folder the report is saved in: the user's documents folder, or the temporary folder when
// that is unknown; never the root of a drive the user may not write to.
ByteString systemInfoReportFolder();
