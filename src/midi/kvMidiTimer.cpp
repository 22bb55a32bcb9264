#include "midi/kvMidiTimer.h"

namespace kv {

namespace {
constexpr std::uint32_t PreferredPeriod = 10;
}

std::uint32_t TimerPeriodFor(const std::optional<TKVTimerCaps>& Caps)
{
    if (!Caps) return PreferredPeriod;
    if (Caps->PeriodMin > PreferredPeriod) return Caps->PeriodMin;
    if (Caps->PeriodMax < PreferredPeriod) return Caps->PeriodMax;
    return PreferredPeriod;
}

} // namespace kv
