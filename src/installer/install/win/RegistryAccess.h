#pragma once
// Whether the user may write every registry key the package touches, tested before anything is
// installed. A failure is told to the user (or, with the privileges-quiet switch, only noted in
// "<InsufficientPrivileges>").
#include "installer/state/TocEntries.h"

#include <windows.h>

#include <string>
#include <vector>

// 0 when write access is missing somewhere, else 1. Only NT-family systems are tested.
int checkRegistryAccess();
// Tests node below parentKey and its subkeys; path holds the names down to parentKey.
bool testRegistryWrite(HKEY parentKey, const RegistryNode& node, std::vector<std::string>& path, bool parentWritable);

// How keys are opened (RegOpenKeyExA); tests replace it to refuse access. Null restores it.
using RegistryKeyOpener = LONG (*)(HKEY parent, const char* name, REGSAM access, HKEY* key);
RegistryKeyOpener setRegistryKeyOpener(RegistryKeyOpener opener);
