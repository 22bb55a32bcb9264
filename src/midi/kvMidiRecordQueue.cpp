#include "midi/kvMidiRecordQueue.h"

#include <algorithm>
#include <utility>

namespace kv {

void TKVMidiRecordQueue::Start(std::uint32_t StartTime, const TKVTempoMap& Map)
{
    std::lock_guard guard(FLock);
    FStartTime = StartTime;
    FTempoMap = Map;
}

void TKVMidiRecordQueue::Stop()
{
    std::lock_guard guard(FLock);
    FTempoMap.reset();
}

bool TKVMidiRecordQueue::Running() const
{
    std::lock_guard guard(FLock);
    return FTempoMap.has_value();
}

bool TKVMidiRecordQueue::Put(std::unique_ptr<TKVMidiEvent> Event, std::uint32_t Now)
{
    std::lock_guard guard(FLock);
    if (!FTempoMap) return false;
    // The tick count wraps: the time since the start is the wrapped difference.
    const auto elapsed = static_cast<std::int32_t>(Now - FStartTime);
    FPending.push_back({FTempoMap->TickAtMs(elapsed), std::move(Event)});
    return true;
}

std::vector<TKVMidiRecordQueue::Recorded> TKVMidiRecordQueue::Take()
{
    std::vector<Recorded> taken;
    {
        std::lock_guard guard(FLock);
        taken.swap(FPending);
    }
    // Two threads may stamp and queue in opposite orders.
    std::stable_sort(taken.begin(), taken.end(), [](const Recorded& a, const Recorded& b) { return a.Tick < b.Tick; });
    return taken;
}

} // namespace kv
