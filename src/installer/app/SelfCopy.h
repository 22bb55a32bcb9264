#pragma once
// An installer started from a network path (a module path beginning with two backslashes)
// copies itself to a temporary ".exe" file and reads its package from there.
#include <string>

// The module path in its plain form (see ModulePath.h).
std::string currentModulePath();

// Makes the copy when the module lies on a network path; on success the package path becomes
// the copy and the local-copy flag is set.
void copySelfOffNetworkPath();
