#pragma once
// The .NET Framework and the Java runtime installed on this computer.
#include "installer/text/ByteString.h"

#include <windows.h>

#include <cstdint>

// -1 none, 0 = 1.0, 1 = 1.1, 2 = 2.0 or later; folder (when not null) receives the framework's
// folder of the version found.
std::int32_t detectDotNet(ByteString* folder);

constexpr const char* kJavaRuntimeKey = "Software\\JavaSoft\\Java Runtime Environment";
// The Java runtime's version text ("1.4.2_05"), empty when there is none. The key is below root.
ByteString detectJava(HKEY root = HKEY_LOCAL_MACHINE, const char* runtimeKey = kJavaRuntimeKey);
