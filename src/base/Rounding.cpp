#include "base/Rounding.h"

#include "base/Exceptions.h"
#include "base/ResStr.h"

#include <cmath>

namespace kv {

// Values that do not round to an int64 (NaN, infinities, |value| >= 2^63) raise EConvertError
// "Invalid floating point operation", as the library's Round raises for them; nothing is clamped,
// so a wrong value never passes silently as the largest integer.
std::int64_t Round(double value)
{
    constexpr double TwoPow63 = 9223372036854775808.0;
    if (!(value >= -TwoPow63 && value < TwoPow63)) // also catches NaN
        throw EConvertError(ResStr("Invalid floating point operation"));
    // Independent of the floating-point rounding mode: value - floor(value) is exact for doubles.
    const double down = std::floor(value);
    const double fraction = value - down;
    double rounded = down;
    if (fraction > 0.5)
        rounded = down + 1.0;
    else if (fraction == 0.5 && std::fmod(down, 2.0) != 0.0)
        rounded = down + 1.0;
    // down + 1 cannot reach 2^63: every double in [2^52, 2^63) is already an integer.
    return static_cast<std::int64_t>(rounded);
}

} // namespace kv
