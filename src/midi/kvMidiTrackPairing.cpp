// Pairing of note-ons with note-offs in one track.
#include "midi/kvMidiTrack.h"

#include "midi/kvMidiTicks.h"

#include <array>
#include <cstddef>
#include <unordered_set>

namespace kv {

void TMyMidiTrack::CalcOffEvents()
{
    PairNoteOns();
    DropUnpairedNoteOns();
}

// Each note-on, in list order, takes the first note-off of its note number after it that no
// earlier note-on has taken (the channel is not compared). One walk with a first-in-first-out
// queue of waiting note-ons per note number gives exactly those pairs. Note-offs that already
// carry the paired marker are not seen; note-ons that find nothing keep their old link.
void TMyMidiTrack::PairNoteOns()
{
    std::array<std::vector<TKVMidiEvent*>, 256> waiting;
    std::array<std::size_t, 256> nextWaiting{};
    for (const auto& event : FTrackEventList) {
        const TKVEventType type = event->EventType();
        if (type == etOn) {
            waiting[event->Data1()].push_back(event.get());
            continue;
        }
        if (type != etOff || event->TimeLength() == TKVMidiEvent::PairedOffMarker) continue;
        auto& queue = waiting[event->Data1()];
        auto& next = nextWaiting[event->Data1()];
        if (next == queue.size()) continue;
        TKVMidiEvent* noteOn = queue[next++];
        noteOn->SetTimeLength(SubTicks(event->StartTime(), noteOn->StartTime()));
        noteOn->SetRelatedEvent(event.get());
        event->SetTimeLength(TKVMidiEvent::PairedOffMarker);
    }
}

// Note-ons without a note-off are removed in one pass. The next event takes over the removed
// delta times, so that no later event moves in time.
void TMyMidiTrack::DropUnpairedNoteOns()
{
    std::unordered_set<const TKVMidiEvent*> dropped;
    std::int32_t carriedDelta = 0;
    for (const auto& event : FTrackEventList) {
        if (event->EventType() == etOn && event->RelatedEvent() == nullptr) {
            dropped.insert(event.get());
            carriedDelta = AddTicks(carriedDelta, event->DeltaTime());
        } else if (carriedDelta != 0) {
            event->SetDeltaTime(AddTicks(event->DeltaTime(), carriedDelta));
            carriedDelta = 0;
        }
    }
    if (dropped.empty()) return;
    const auto isDropped = [&dropped](const TKVMidiEvent* event) { return dropped.count(event) != 0; };
    ForgetLinksTo(isDropped);
    const int removed = FTrackEventList.RemoveIf([&isDropped](const TKVMidiEvent& event) { return isDropped(&event); });
    RaiseTrackModified(removed);
}

} // namespace kv
