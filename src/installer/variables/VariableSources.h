#pragma once
// Where the user variables' values come from: INI entries, the registry and file searches.
// Evaluation reaches the system only through these functions, so the order of expansion, the
// defaults and the flags are the same code natively (with stand-ins) and on Windows (with the
// registry, the profile functions and the file system). Registry roots are the predefined key
// handles as signed 32-bit numbers (HKEY_LOCAL_MACHINE is -2147483646).
#include "installer/text/ByteString.h"

#include <cstdint>
#include <functional>
#include <vector>

struct VariableSources {
    // The key's text (at most size - 1 bytes), or defaultText when the key is missing.
    std::function<ByteString(const char* file, const char* section, const char* key, const char* defaultText,
                             std::uint32_t size)>
        readIniText;
    // The key read as a number, or defaultValue when it is missing.
    std::function<std::int32_t(const char* file, const char* section, const char* key, std::int32_t defaultValue)>
        readIniInt;
    // Whether the key opens for querying (with the registry view bits).
    std::function<bool(std::int32_t root, const char* keyPath)> registryKeyExists;
    // Whether the key opens and the value's size can be queried.
    std::function<bool(std::int32_t root, const char* keyPath, const char* valueName)> registryValueExists;
    // The value's raw bytes followed by one zero byte: 1, or a negative code (out emptied).
    std::function<int(std::int32_t root, const char* keyPath, const char* valueName, std::vector<std::uint8_t>* out)>
        readRegistryBytes;
    // Depth-first search below folder (ending in a backslash); 1 found, out = the folder.
    std::function<int(const char* folder, const char* name, ByteString* out)> findFile;
    std::function<int(const char* name, ByteString* out)> findFileOnFixedDrives;
};

// The sources in use: the system's unless a test replaced them.
const VariableSources& variableSources();
// Returns the sources used before.
VariableSources setVariableSources(VariableSources sources);
// The system's own sources (Windows), or stand-ins that find nothing (native build).
VariableSources systemVariableSources();
