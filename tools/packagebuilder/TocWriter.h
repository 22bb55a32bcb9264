#pragma once
// The table of contents of a package, written from its description (the "toc" member of the
// package description; see PackageBuilder.h). Integers are big-endian 32-bit, texts are UTF-8
// followed by one NUL, a list is a count and its entries.
#include "PackageBuilder.h"

// The unscrambled table: the four registry trees, the shortcut, INI, text-file, step file
// operation, variable, step action and prerequisite lists, then the settings. With "rawPlainHex"
// those bytes instead.
Bytes plainTocFromDescription(const nlohmann::json& toc);
// The table as stored: the plain table scrambled "scrambleCount" times (default 2).
Bytes storedTocFromDescription(const nlohmann::json& toc);
