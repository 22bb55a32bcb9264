#pragma once
// The services the plug-in library calls through its table: each records something in the
// uninstall log or does a small job for it. Results: 1 done, -1 a null or empty text or a root
// outside HKEY_CLASSES_ROOT .. HKEY_USERS, -2 the system refused.
#include "installer/state/PluginApiTable.h"

#include <cstdint>

std::int32_t PLUGIN_SERVICE pluginLogFile(const char* path);
// Logs "root\key" (root as a signed decimal number).
std::int32_t PLUGIN_SERVICE pluginLogRegistryKey(std::uintptr_t root, const char* key);
// Logs "root\key\\name"; a key that ends with a backslash gives the same line. An empty name
// is the key's default value.
std::int32_t PLUGIN_SERVICE pluginLogRegistryValue(std::uintptr_t root, const char* key, const char* valueName);
// Raises the library's count under SharedDLLs and lists it among the shared libraries.
std::int32_t PLUGIN_SERVICE pluginAddSharedDll(const char* path);
// Copies the file into the installation's backup folder and records the backup line.
std::int32_t PLUGIN_SERVICE pluginBackupFile(const char* path);
// Creates the folder and its parents without messages, logging each new one.
std::int32_t PLUGIN_SERVICE pluginCreateDirectory(const char* path);

// Puts the services, the variable functions and the installer's current values (settings text,
// dialog image, option word) into gPluginApiTable. The silent slot is kept as it was set.
void fillPluginApiTable();
