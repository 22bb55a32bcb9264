#pragma once
// The system report, made once per process behind a progress note, and its saving.
#include "installer/text/ByteString.h"

#include <windows.h>

#include <optional>

// Runs the probes unless the report exists; listBox (may be null) receives the plug-in's lines.
void collectSystemInfoOnce(HWND listBox);
// The report, once collected.
const std::optional<ByteString>& systemReport();
// Tests set a report of their own (none: collect again).
void setSystemReport(std::optional<ByteString> report);
