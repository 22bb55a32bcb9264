#pragma once
// Registry reads with the installer's result codes.
#include <windows.h>

#include <cstdint>
#include <vector>

// The raw bytes of a value, followed by one zero byte. 1 read, -1 out is null, -2 the value
// cannot be read, -3 its size cannot be queried, -4 the key cannot be opened. out is emptied
// first.
int readRegistryBytes(HKEY root, const char* keyPath, const char* valueName, std::vector<std::uint8_t>* out);
