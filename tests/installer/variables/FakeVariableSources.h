#pragma once
// Variable sources over tables of a test: INI entries, registry keys and values, and files lying
// in folders. Calls are recorded so a test can see what evaluation asked for.
#include "installer/variables/VariableSources.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

struct FakeSystem {
    // "file|section|key" -> text
    std::map<std::string, std::string> ini;
    // "root|key" for keys; "root|key|name" -> bytes for values
    std::set<std::string> registryKeys;
    std::map<std::string, std::string> registryValues;
    // file name -> the folder that holds it (with its trailing backslash)
    std::map<std::string, std::string> files;
    bool fixedDrivesHoldEverything = true;

    std::vector<std::string> searchedFolders;
    int fixedDriveSearches = 0;
    int registryReads = 0;
};

inline VariableSources fakeVariableSources(const std::shared_ptr<FakeSystem>& system)
{
    VariableSources sources;
    sources.readIniText = [system](const char* file, const char* section, const char* key, const char* defaultText,
                                   std::uint32_t size) {
        const auto found = system->ini.find(std::string(file) + "|" + section + "|" + key);
        std::string text = found == system->ini.end() ? defaultText : found->second;
        return ByteString(text.substr(0, size - 1).c_str());
    };
    sources.readIniInt = [system](const char* file, const char* section, const char* key, std::int32_t defaultValue) {
        const auto found = system->ini.find(std::string(file) + "|" + section + "|" + key);
        return found == system->ini.end() ? defaultValue : std::stoi(found->second);
    };
    sources.registryKeyExists = [system](std::int32_t root, const char* keyPath) {
        ++system->registryReads;
        return system->registryKeys.count(std::to_string(root) + "|" + keyPath) > 0;
    };
    sources.registryValueExists = [system](std::int32_t root, const char* keyPath, const char* name) {
        ++system->registryReads;
        return system->registryValues.count(std::to_string(root) + "|" + keyPath + "|" + name) > 0;
    };
    sources.readRegistryBytes = [system](std::int32_t root, const char* keyPath, const char* name,
                                         std::vector<std::uint8_t>* out) {
        ++system->registryReads;
        out->clear();
        const auto found = system->registryValues.find(std::to_string(root) + "|" + keyPath + "|" + name);
        if (found == system->registryValues.end())
            return -4;
        out->assign(found->second.begin(), found->second.end());
        out->push_back(0);
        return 1;
    };
    sources.findFile = [system](const char* folder, const char* name, ByteString* out) {
        system->searchedFolders.push_back(folder);
        const auto found = system->files.find(name);
        if (found == system->files.end() || found->second.rfind(folder, 0) != 0)
            return 0;
        out->assignCStr(found->second.c_str());
        return 1;
    };
    sources.findFileOnFixedDrives = [system](const char* name, ByteString* out) {
        ++system->fixedDriveSearches;
        const auto found = system->files.find(name);
        if (!system->fixedDrivesHoldEverything || found == system->files.end())
            return 0;
        out->assignCStr(found->second.c_str());
        return 1;
    };
    return sources;
}
