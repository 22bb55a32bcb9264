#pragma once
// The report of this computer against the package's requirements, with the installer's state:
// the requirements, language texts and package figures in, the results block and the cached
// system numbers out.
#include "installer/text/ByteString.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

// listBox receives the plug-in library's lines (null: the plug-in is not asked). progress (may
// be empty) receives the percentage after each probe. Returns true.
bool collectSystemInfo(ByteString& report, const std::function<void(std::int32_t percent)>& progress, HWND listBox);

// The folder the report is saved in: the user's documents folder, or the temporary folder when
// that is unknown; never the root of a drive the user may not write to.
ByteString systemInfoReportFolder();

// Fills a list box with the report's lines in order, with the tab stops 64, 160 and 256 (dialog
// units): as UTF-16 on the NT platform, else in the ANSI code page.
void fillReportList(HWND listBox, const ByteString& report);
// The summary text of the report as the results block counts it, formatted with the product's
// name where the text takes it; colour receives the colour to draw it in, when the package shows
// failures in colour.
ByteString reportSummaryText(std::optional<std::uint32_t>& colour);
