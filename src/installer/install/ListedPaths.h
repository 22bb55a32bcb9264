#pragma once
// The conversion phases keep their files as one text of paths, each ended by CR LF.
#include "installer/text/ByteString.h"

#include <string>
#include <vector>

// The non-empty paths of list, in order.
std::vector<std::string> listedPaths(const ByteString& list);
