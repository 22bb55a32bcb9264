#pragma once
// Files and folders (Windows; paths in UTF-8).
#include <cstdint>

// Creates the temporary folder (one level) when it does not exist.
void ensureTempFolder();
// False for a null or empty path; true when the system reports attributes (files and folders).
bool fileExists(const char* path);
// Clears a read-only attribute, deletes; true when no file of that name is left.
bool forceDelete(const char* path);
// The system's Windows directory, also under terminal services; 0 on failure.
std::uint32_t getWindowsDirectory(char* buffer, std::uint32_t size);
