#pragma once
// Registry reads with the installer's result codes.
#include <windows.h>

#include <cstdint>
#include <vector>

// The raw bytes of a value, followed by one zero byte. 1 read, -1 out is null, -2 the value
// cannot be read, -3 its size cannot be queried, -4 the key cannot be opened. out is emptied
// first.
int readRegistryBytes(HKEY root, const char* keyPath, const char* valueName, std::vector<std::uint8_t>* out);

// The predefined key a package names by its 32-bit number. The handles are negative 32-bit
// numbers: widening keeps their sign, as the system's own definitions do on 64-bit Windows.
inline HKEY predefinedRootKey(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(root)));
}
