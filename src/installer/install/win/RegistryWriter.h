#pragma once
// Writing one registry tree of the package below an open key.
#include "installer/state/TocEntries.h"

#include <windows.h>

#include <cstdint>

// Writes node's values, then its subkeys (recursively), below key, each only when its condition
// holds. Names and data are expanded first and the expanded names kept in the tree. Each value
// and key processed gets its result flags (1 written or created, 0 failed or existed, | 2);
// failures raise errors, every value and key processed raises done.
void writeRegistry(HKEY key, RegistryNode& node, std::int32_t& errors, std::int32_t& done);
