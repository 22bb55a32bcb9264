#pragma once
// The list of installer variables (gPackageToc.variables): lookup by exact name and appending.
#include "installer/state/InstallerVariable.h"

#include <cstdint>

// The entry whose name equals name byte for byte; null when there is none (or name is null).
InstallerVariable* findVariable(const char* name);
// Its position in the list, or -1.
std::int32_t findVariableIndex(const char* name);
// Appends a variable of the given kind whose value is known; returns it.
InstallerVariable& appendKnownVariable(const char* name, std::int32_t kind, const ByteString& defaultText,
                                       const ByteString& valueText, std::int32_t valueInt);
