#include "installer/system/VersionNumbers.h"

int compareVersion(std::uint32_t highA, std::uint32_t lowA, std::uint32_t highB, std::uint32_t lowB)
{
    const std::uint64_t a = (std::uint64_t{highA} << 32) | lowA;
    const std::uint64_t b = (std::uint64_t{highB} << 32) | lowB;
    if (a == b)
        return 0;
    return b > a ? 1 : -1;
}
