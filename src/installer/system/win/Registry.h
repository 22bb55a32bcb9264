#pragma once
// Registry reads with the installer's result codes.
#include <windows.h>

#include <cstdint>
#include <vector>

// Values as the installer holds them: string values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) in
// UTF-8, every other type as its bytes. Names are UTF-8. The system stores strings in UTF-16.
LONG setRegistryValue(HKEY key, const char* valueName, DWORD type, const BYTE* data, DWORD size);
LONG queryRegistryValue(HKEY key, const char* valueName, DWORD* type, std::vector<std::uint8_t>& data);
LONG openRegistryKey(HKEY root, const char* keyPath, REGSAM access, HKEY* key);

// The bytes of a value (strings in UTF-8), followed by one zero byte. 1 read, -1 out is null, -2 the value
// cannot be read, -3 its size cannot be queried, -4 the key cannot be opened. out is emptied
// first.
int readRegistryBytes(HKEY root, const char* keyPath, const char* valueName, std::vector<std::uint8_t>* out);

// The predefined key a package names by its 32-bit number. The handles are negative 32-bit
// numbers: widening keeps their sign, as the system's own definitions do on 64-bit Windows.
inline HKEY predefinedRootKey(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(root)));
}
