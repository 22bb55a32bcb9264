#include "installer/variables/VariableSources.h"

// The native stand-ins: no INI files, no registry, no file is found; texts pass unchanged.
VariableSources systemVariableSources()
{
    VariableSources sources;
    sources.readIniText = [](const char*, const char*, const char*, const char* defaultText, std::uint32_t) {
        return ByteString(defaultText ? defaultText : "");
    };
    sources.readIniInt = [](const char*, const char*, const char*, std::int32_t defaultValue) { return defaultValue; };
    sources.registryKeyExists = [](std::int32_t, const char*) { return false; };
    sources.registryValueExists = [](std::int32_t, const char*, const char*) { return false; };
    sources.readRegistryBytes = [](std::int32_t, const char*, const char*, std::vector<std::uint8_t>* out) {
        if (!out)
            return -1;
        out->clear();
        return -4;
    };
    sources.findFile = [](const char*, const char*, ByteString*) { return 0; };
    sources.findFileOnFixedDrives = [](const char*, ByteString* out) {
        if (out)
            out->assignCStr("");
        return 0;
    };
    return sources;
}
