#pragma once
// The root whose free space decides whether a chosen folder may be taken: the drive letter
// followed by ":\", or for a network path the path itself with a trailing backslash.
#include <string>

std::string driveRootOf(const std::string& path);
