#pragma once
// The report as a text file: its lines laid out in columns, saved under the first free name in
// a folder the user can write to.
#include "installer/text/ByteString.h"

#include <functional>
#include <vector>

// Each line's tab-separated fields start at characters 0, 22, 54 and 86 (padded with blanks,
// never cut); a line without tabs is written unchanged; CR LF ends every line.
ByteString reportFileText(const std::vector<ByteString>& lines);
// folder + "sysinfo.txt", or while that exists "sysinfo1.txt", "sysinfo2.txt", ...; a backslash
// is put between folder and name when missing.
ByteString reportFileName(const ByteString& folder, const std::function<bool(const char* path)>& exists);

// Writes the laid-out lines to the first free report name in folder; true with path set to the
// file written, false when it cannot be written (path names the file tried).
bool saveReportFile(const std::vector<ByteString>& lines, const ByteString& folder, ByteString& path);
