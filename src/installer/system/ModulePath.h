#pragma once
// The installer's own path as the system reports it, in the plain form the installer works
// with: a network path is given as "\\server\share\..." also when the system reports its
// NT form ("\\?\UNC\server\share\..." or, under Wine, "UNC\server\share\...").
#include <string>

std::string plainModulePath(const std::string& reported);
// True for a path that begins with two backslashes.
bool isNetworkPath(const char* path);
