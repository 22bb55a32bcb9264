#pragma once
// Four-part file versions held as two dwords (most significant first).
#include <cstdint>

// 0 when equal; 1 when B is greater, -1 when A is greater, comparing the 16-bit parts from the
// most significant.
int compareVersion(std::uint32_t highA, std::uint32_t lowA, std::uint32_t highB, std::uint32_t lowB);
