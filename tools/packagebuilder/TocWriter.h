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
// A stored condition from the "condition" member of entry: [osFlags]; when osFlags is not 0,
// [count] and per comparison [left text NUL][operator][right text NUL]. No member: osFlags 0.
Bytes storedConditionFromDescription(const nlohmann::json& entry);
