#include "installer/system/win/Registry.h"

#include "installer/system/RegistryView.h"
#include "installer/text/SystemNames.h"
#include "installer/text/win/WideName.h"

#include <cstring>

namespace {

bool isStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

} // namespace

LONG setRegistryValue(HKEY key, const char* valueName, DWORD type, const BYTE* data, DWORD size)
{
    if (!isStringType(type) || !data)
        return RegSetValueExW(key, WideName(valueName), 0, type, data, size);
    // NULs inside a list of strings and the closing NULs convert unit by unit.
    const std::u16string wide = nameToUtf16(reinterpret_cast<const char*>(data), size);
    return RegSetValueExW(key, WideName(valueName), 0, type, reinterpret_cast<const BYTE*>(wide.data()),
                          static_cast<DWORD>(wide.size() * sizeof(char16_t)));
}

LONG queryRegistryValue(HKEY key, const char* valueName, DWORD* type, std::vector<std::uint8_t>& data)
{
    const WideName name(valueName);
    DWORD valueType = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name, nullptr, &valueType, nullptr, &size);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size) + sizeof(wchar_t), 0);
    result = RegQueryValueExW(key, name, nullptr, &valueType, bytes.data(), &size);
    if (result != ERROR_SUCCESS)
        return result;
    bytes.resize(size);
    if (type)
        *type = valueType;
    if (!isStringType(valueType)) {
        data = std::move(bytes);
        return ERROR_SUCCESS;
    }
    std::u16string wide(size / sizeof(char16_t), u'\0');
    if (!wide.empty())
        std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(char16_t));
    ByteString utf8 = nameFromUtf16(wide.data(), wide.size());
    data.assign(utf8.data(), utf8.data() + utf8.length());
    return ERROR_SUCCESS;
}

LONG openRegistryKey(HKEY root, const char* keyPath, REGSAM access, HKEY* key)
{
    return RegOpenKeyExW(root, WideName(keyPath), 0, access, key);
}

int readRegistryBytes(HKEY root, const char* keyPath, const char* valueName, std::vector<std::uint8_t>* out)
{
    if (!out)
        return -1;
    out->clear();
    HKEY key;
    if (openRegistryKey(root, keyPath, KEY_QUERY_VALUE | registryViewBits(), &key) != ERROR_SUCCESS)
        return -4;
    int result = 1;
    DWORD size = 0;
    std::vector<std::uint8_t> value;
    if (RegQueryValueExW(key, WideName(valueName), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        result = -3;
    } else if (queryRegistryValue(key, valueName, nullptr, value) != ERROR_SUCCESS) {
        result = -2;
    } else {
        value.push_back(0);
        *out = std::move(value);
    }
    RegCloseKey(key);
    return result;
}
