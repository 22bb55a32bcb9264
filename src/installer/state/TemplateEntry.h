#pragma once
// One page of the wizard's page sequence, as the package's template table holds it.
#include "installer/text/ByteString.h"

#include <cstdint>

// One page of the page sequence.
struct TemplateEntry {
    ByteString templateBytes;
    std::int32_t pageType = 0;
    bool showOnce = false;
    bool shown = false;
    // The page's condition in its stored encoding; empty when the page has none.
    ByteString condition;
};
