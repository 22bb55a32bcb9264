#include "installer/system/win/Registry.h"

#include "installer/system/RegistryView.h"

int readRegistryBytes(HKEY root, const char* keyPath, const char* valueName, std::vector<std::uint8_t>* out)
{
    if (!out)
        return -1;
    out->clear();
    HKEY key;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE | registryViewBits(), &key) != ERROR_SUCCESS)
        return -4;
    int result = 1;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        result = -3;
    } else {
        std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size) + 1, 0);
        if (RegQueryValueExA(key, valueName, nullptr, nullptr, buffer.data(), &size) != ERROR_SUCCESS)
            result = -2;
        else
            *out = std::move(buffer);
    }
    RegCloseKey(key);
    return result;
}
