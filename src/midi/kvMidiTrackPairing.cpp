// Pairing of note-ons with note-offs in one track.
#include "midi/kvMidiTrack.h"

#include "midi/kvMidiTicks.h"

#include <cstddef>
#include <unordered_set>
#include <vector>

namespace kv {

void TMyMidiTrack::CalcOffEvents()
{
    PairNoteOns();
    DropUnpairedNoteOns();
}

// Each note-on, in list order, takes the first note-off of its channel and note number after it
// that no earlier note-on has taken: in a track that carries several channels, a note never
// ends with another channel's note-off. One walk with a first-in-first-out queue of waiting
// note-ons per channel and note number gives exactly those pairs. Note-offs that already carry
// the paired marker are not seen; note-ons that find nothing keep their old link.
void TMyMidiTrack::PairNoteOns()
{
    const auto key = [](const TKVMidiEvent& event) { return static_cast<std::size_t>((event.Event() & 0x0F) << 8 | event.Data1()); };
    std::vector<std::vector<TKVMidiEvent*>> waiting(16 * 256);
    std::vector<std::size_t> nextWaiting(16 * 256);
    for (const auto& event : FTrackEventList) {
        const TKVEventType type = event->EventType();
        if (type == etOn) {
            waiting[key(*event)].push_back(event.get());
            continue;
        }
        if (type != etOff || event->TimeLength() == TKVMidiEvent::PairedOffMarker) continue;
        auto& queue = waiting[key(*event)];
        auto& next = nextWaiting[key(*event)];
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
