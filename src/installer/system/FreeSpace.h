#pragma once
// Disk space of a drive. kind 2 total size, kind 3 total free bytes, any other kind the free
// bytes available to the caller.
#include <cstdint>
#include <optional>

struct ExtendedFreeSpace {
    std::uint64_t availableToCaller, totalBytes, totalFree;
};
struct ClassicFreeSpace {
    std::uint32_t sectorsPerCluster, bytesPerSector, freeClusters, totalClusters;
};

std::uint64_t freeSpaceFromExtended(const ExtendedFreeSpace& space, int kind);
// The classic answer: a 32-bit product, with the free clusters for kinds 1 and 3.
std::uint64_t freeSpaceFromClassic(const ClassicFreeSpace& space, int kind);

// The real query (0 on failure). Tests may fix the answer: what Wine reports for a drive says
// nothing about a real one.
std::uint64_t getFreeSpace(const char* root, int kind);
using FreeSpaceOverride = std::optional<std::uint64_t> (*)(const char* root, int kind);
void setFreeSpaceOverride(FreeSpaceOverride answer);
// The fixed answer when one is set (used by getFreeSpace).
std::optional<std::uint64_t> overriddenFreeSpace(const char* root, int kind);
