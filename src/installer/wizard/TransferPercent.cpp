#include "TransferPercent.h"

std::int32_t transferPercent(std::int64_t transferred, std::int64_t total)
{
    if (total <= 0 || transferred < 0 || transferred > total)
        return -1;
    if (transferred <= INT64_MAX / 100)
        return static_cast<std::int32_t>(transferred * 100 / total);
    // transferred x 100 would not fit: total is then at least 100 times larger than 0.
    return static_cast<std::int32_t>(transferred / (total / 100));
}
