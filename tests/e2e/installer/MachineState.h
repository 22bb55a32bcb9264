#pragma once
// What a test compares before and after an installation: the file tree below a folder and the
// registry keys the package touches, as comparable texts.
#include "PackageBuilder.h"

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>

// The SHA-256 of bytes in lower-case hex; empty when the system cannot make it.
std::string sha256(const Bytes& bytes);
std::string hexOf(const Bytes& bytes);
Bytes bytesOf(const std::string& s);
// Every file and folder below root by its relative path: a folder, or a file's size, SHA-256 and
// read-only, hidden and system attributes.
std::map<std::string, std::string> fileTree(const std::filesystem::path& root);
// The key with every value (type and data) and subkey below it, or "<missing>".
std::string registryKey(HKEY root, const char* path);
// A value's type and data, or "<missing>".
std::string registryValue(HKEY root, const char* path, const std::string& name);
