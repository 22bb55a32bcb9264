#pragma once
// Tick arithmetic of a track. Times come from files unchecked (a delta time may be any 32-bit
// value), so sums and differences wrap around in 32 bits instead of overflowing.
#include <cstdint>

namespace kv {

inline std::int32_t AddTicks(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

inline std::int32_t SubTicks(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

} // namespace kv
