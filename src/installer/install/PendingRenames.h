#pragma once
// The renames waiting for the next restart: a list of NUL-terminated texts taken in pairs.
#include "installer/text/ByteString.h"

#include <string>
#include <vector>

struct PendingRename {
    std::string target;
    std::string temporary;
};

// The complete pairs of the list in order; a text without its partner is left out.
std::vector<PendingRename> pendingRenamesOf(const ByteString& list);
