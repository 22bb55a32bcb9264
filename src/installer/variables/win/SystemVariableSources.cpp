#include "installer/variables/VariableSources.h"

#include "installer/system/FileSearch.h"
#include "installer/system/RegistryView.h"
#include "installer/system/win/Registry.h"
#include "installer/text/win/TextConversion.h"
#include "installer/text/win/WideName.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

ByteString readIniText(const char* file, const char* section, const char* key, const char* defaultText,
                       std::uint32_t size)
{
    std::vector<wchar_t> buffer(size ? size : 1, L'\0');
    GetPrivateProfileStringW(WideName(section), WideName(key), WideName(defaultText), buffer.data(),
                             static_cast<DWORD>(buffer.size()), WideName(file));
    buffer.back() = L'\0';
    return utf8FromWide(buffer.data());
}

std::int32_t readIniInt(const char* file, const char* section, const char* key, std::int32_t defaultValue)
{
    return static_cast<std::int32_t>(GetPrivateProfileIntW(WideName(section), WideName(key), defaultValue, WideName(file)));
}

// Opens the key for querying and, when valueName is given, queries the value's size.
bool registryEntryExists(std::int32_t root, const char* keyPath, const char* valueName)
{
    HKEY key;
    if (RegOpenKeyExW(predefinedRootKey(root), WideName(keyPath), 0, KEY_QUERY_VALUE | registryViewBits(), &key) != ERROR_SUCCESS)
        return false;
    bool exists = true;
    if (valueName) {
        DWORD size = MAX_PATH;
        exists = RegQueryValueExW(key, WideName(valueName), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return exists;
}

} // namespace

VariableSources systemVariableSources()
{
    VariableSources sources;
    sources.readIniText = &readIniText;
    sources.readIniInt = &readIniInt;
    sources.registryKeyExists = [](std::int32_t root, const char* keyPath) {
        return registryEntryExists(root, keyPath, nullptr);
    };
    sources.registryValueExists = [](std::int32_t root, const char* keyPath, const char* valueName) {
        return registryEntryExists(root, keyPath, valueName ? valueName : "");
    };
    sources.readRegistryBytes = [](std::int32_t root, const char* keyPath, const char* valueName,
                                   std::vector<std::uint8_t>* out) {
        return readRegistryBytes(predefinedRootKey(root), keyPath, valueName, out);
    };
    sources.findFile = [](const char* folder, const char* name, ByteString* out) {
        return findFile(folder, name, 0, out);
    };
    sources.findFileOnFixedDrives = [](const char* name, ByteString* out) {
        return findFileOnFixedDrives(name, 0, out);
    };
    return sources;
}
