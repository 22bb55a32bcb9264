#include "installer/system/FreeSpace.h"

std::uint64_t freeSpaceFromExtended(const ExtendedFreeSpace& space, int kind)
{
    switch (kind) {
    case 2: return space.totalBytes;
    case 3: return space.totalFree;
    default: return space.availableToCaller;
    }
}

std::uint64_t freeSpaceFromClassic(const ClassicFreeSpace& space, int kind)
{
    const std::uint32_t clusters = (kind == 1 || kind == 3) ? space.freeClusters : space.totalClusters;
    return static_cast<std::uint32_t>(space.sectorsPerCluster * space.bytesPerSector * clusters);
}

namespace {
FreeSpaceOverride freeSpaceAnswer = nullptr;
}

void setFreeSpaceOverride(FreeSpaceOverride answer)
{
    freeSpaceAnswer = answer;
}

std::optional<std::uint64_t> overriddenFreeSpace(const char* root, int kind)
{
    return freeSpaceAnswer ? freeSpaceAnswer(root, kind) : std::nullopt;
}
