#pragma once
// The .NET Framework version from the folders below "Microsoft.NET\Framework\" of the Windows
// folder: a folder counts when it holds "system.dll" and its name is longer than 3 characters.
#include "installer/text/ByteString.h"

#include <cstdint>
#include <vector>

struct FrameworkFolder {
    ByteString name;
    bool hasSystemDll = false;
};

struct DotNetFound {
    // -1 none, 0 = 1.0, 1 = 1.1, 2 = 2.0 or later.
    std::int32_t code = -1;
    // The name of the folder that gave the code; empty when none.
    ByteString folderName;
};

// "v2..." and every later major version ("v4.0.30319") give 2.0 or later, from the newest such
// folder; otherwise a fourth character "1" gives 1.1, a fourth character "0" 1.0 while nothing
// was found.
DotNetFound dotNetFromFolders(const std::vector<FrameworkFolder>& folders);
// The value the numeric variable shows: 10000, 10100, 20000, or 0 for none.
std::int32_t dotNetVariableValue(std::int32_t code);
