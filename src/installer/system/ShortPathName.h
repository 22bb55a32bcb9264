#pragma once
// The system's short (8.3) form of a path, at most 260 bytes; empty when the path does not exist.
#include "installer/text/ByteString.h"

ByteString shortPathName(const char* path);
