#pragma once
// The renames the system carries out at the next restart ("PendingFileRenameOperations"): pairs
// of strings, source then target, an empty target meaning a delete.
#include <string>
#include <vector>

// The strings of a REG_MULTI_SZ value (each NUL-terminated, the list ending with one more NUL).
std::vector<std::string> multiStringEntries(const std::string& value);
// The value for the strings: each with its NUL, then one more NUL.
std::string multiStringValue(const std::vector<std::string>& entries);

// Removes the pairs whose source is source (with or without "\??\", any case) and whose target
// is empty when target is null, or is target (with or without "\??\") when it is given. True
// when a pair was removed.
bool removeRenamePairs(std::vector<std::string>& pairs, const std::string& source, const std::string* target);
