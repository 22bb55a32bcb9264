#pragma once
// The run time rounds to the nearest integer with ties to even (banker's rounding):
// Round(0.5) = 0, Round(1.5) = 2, Round(2.5) = 2, Round(-0.5) = 0, Round(-1.5) = -2.
// NaN, infinities and values outside the int64 range raise EConvertError
// "Invalid floating point operation" (never clamped). Independent of the FPU rounding mode.
#include <cstdint>

namespace kv {

std::int64_t Round(double value);

} // namespace kv
