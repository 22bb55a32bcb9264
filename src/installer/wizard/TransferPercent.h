#pragma once
// The share of a transfer done, in percent, for progress bars fed by byte counts.
#include <cstdint>

// transferred x 100 / total (0 to 100); -1 (no percentage) when total is not positive or the
// counts make no sense (negative, or more transferred than the total).
std::int32_t transferPercent(std::int64_t transferred, std::int64_t total);
