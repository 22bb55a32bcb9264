#pragma once
// The language sets of a package (the "languageSets" member of the description; see
// PackageBuilder.h). Each set: [size of the rest][name length][name][language number][LANGID]
// [table length][table scrambled twice], integers big-endian 32-bit; the table is the lines
// joined by CR LF.
#include "PackageBuilder.h"

// The sets one after the other, as stored.
Bytes languageSetsFromDescription(const nlohmann::json& languageSets);
