#pragma once
// The table of services handed to the package's plug-in library: 14 pointer-sized slots, in
// this order. Texts are NUL-terminated 8-bit strings; the functions use the stdcall convention
// of the 32-bit build and answer signed 32-bit results.
#include <cstdint>

#if defined(_WIN32)
#define PLUGIN_SERVICE __stdcall
#else
#define PLUGIN_SERVICE
#endif

struct PluginApiTable {
    std::int32_t(PLUGIN_SERVICE* logFile)(const char* path) = nullptr;
    std::int32_t(PLUGIN_SERVICE* logRegistryKey)(std::uintptr_t root, const char* key) = nullptr;
    std::int32_t(PLUGIN_SERVICE* logRegistryValue)(std::uintptr_t root, const char* key, const char* valueName) = nullptr;
    std::int32_t(PLUGIN_SERVICE* addSharedDll)(const char* path) = nullptr;
    std::int32_t(PLUGIN_SERVICE* backupFile)(const char* path) = nullptr;
    std::int32_t(PLUGIN_SERVICE* createDirectory)(const char* path) = nullptr;
    // The table of contents' plug-in settings text, expanded.
    const char* settings = nullptr;
    void* dialogImage = nullptr;
    // 1 in silent mode, else 0; taken when the table of contents has been read.
    std::intptr_t silent = 0;
    // The option word; the plug-in may change its bits (the finish options, for example).
    std::uint32_t* optionWord = nullptr;
    const char*(PLUGIN_SERVICE* getVariableText)(const char* name) = nullptr;
    std::int32_t(PLUGIN_SERVICE* getVariableInt)(const char* name) = nullptr;
    std::int32_t(PLUGIN_SERVICE* setVariableText)(const char* name, const char* text) = nullptr;
    std::int32_t(PLUGIN_SERVICE* setVariableInt)(const char* name, std::int32_t value) = nullptr;
};

static_assert(sizeof(PluginApiTable) == 14 * sizeof(void*), "the plug-in reads 14 pointer-sized slots");

// Lives as long as the process: the plug-in keeps its address.
extern PluginApiTable gPluginApiTable;
