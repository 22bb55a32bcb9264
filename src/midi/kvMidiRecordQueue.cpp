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

void TKVMidiRecordQueue::Stop(std::uint32_t Now)
{
    std::lock_guard guard(FLock);
    if (!FTempoMap) return;
    FStopTick = FTempoMap->TickAtMs(static_cast<std::int32_t>(Now - FStartTime));
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
    FollowNote(*Event);
    FPending.push_back({FTempoMap->TickAtMs(elapsed), std::move(Event)});
    return true;
}

void TKVMidiRecordQueue::FollowNote(const TKVMidiEvent& Event)
{
    const std::uint8_t kind = Event.Event() & 0xF0;
    if (kind != 0x80 && kind != 0x90) return;
    std::uint16_t& held = FHeld[static_cast<std::size_t>((Event.Event() & 0x0F) * 128 + (Event.Data1() & 0x7F))];
    if (kind == 0x90 && Event.Data2() > 0)
        ++held;
    else if (held > 0)
        --held;
}

void TKVMidiRecordQueue::EndHeldNotes()
{
    std::lock_guard guard(FLock);
    for (std::size_t index = 0; index < FHeld.size(); ++index) {
        for (; FHeld[index] > 0; --FHeld[index]) {
            auto noteOff = std::make_unique<TKVMidiEvent>();
            noteOff->SetEvent(static_cast<std::uint8_t>(0x80 | index / 128));
            noteOff->SetData1(static_cast<std::uint8_t>(index % 128));
            noteOff->SetData2(0);
            FPending.push_back({FStopTick, std::move(noteOff)});
        }
    }
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
