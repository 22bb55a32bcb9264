#include "piano/kvEventListEdits.h"

#include <unordered_map>
#include <unordered_set>

namespace kv {

std::vector<const TKVMidiEvent*> DeleteListedEvents(TKVMidiFile& Song, const std::vector<TKVMidiEvent*>& Events,
                                                    const void* Source)
{
    std::unordered_map<const TKVMidiEvent*, int> holder;
    std::unordered_map<const TKVMidiEvent*, TKVMidiEvent*> noteOnOf;
    for (int t = 0; t < Song.TrackCount(); ++t) {
        const TMyMidiTrack* track = Song.GetTrack(t);
        for (int i = 0; i < track->TrackEventCount(); ++i) {
            TKVMidiEvent* event = track->GetEvent(i);
            holder.emplace(event, t);
            if (event->EventType() == etOn && event->RelatedEvent() != nullptr) noteOnOf.emplace(event->RelatedEvent(), event);
        }
    }
    std::vector<std::vector<TKVMidiEvent*>> byTrack(static_cast<std::size_t>(Song.TrackCount()));
    std::unordered_set<const TKVMidiEvent*> removed;
    std::vector<const TKVMidiEvent*> order;
    const auto remember = [&](const TKVMidiEvent* event) {
        if (removed.insert(event).second) order.push_back(event);
    };
    for (TKVMidiEvent* event : Events) {
        const auto held = holder.find(event);
        if (held == holder.end()) continue;
        const auto on = noteOnOf.find(event);
        TKVMidiEvent* first = on != noteOnOf.end() ? on->second : event;
        const int track = held->second;
        byTrack[static_cast<std::size_t>(track)].push_back(first);
        for (const TKVMidiEvent* gone : {static_cast<const TKVMidiEvent*>(event), static_cast<const TKVMidiEvent*>(first),
                                         static_cast<const TKVMidiEvent*>(first->RelatedEvent())}) {
            // The track removes only what it holds.
            const auto at = holder.find(gone);
            if (gone != nullptr && at != holder.end() && at->second == track) remember(gone);
        }
    }
    if (order.empty()) return order;
    Song.Watchers().EventsFreeing(order, Source);
    for (int t = 0; t < Song.TrackCount(); ++t) {
        if (byTrack[static_cast<std::size_t>(t)].empty()) continue;
        TMyMidiTrack* track = Song.GetTrack(t);
        track->DelEvents(byTrack[static_cast<std::size_t>(t)]);
        track->UpdateDeltaTime();
    }
    Song.Watchers().EventsChanged(Source);
    return order;
}

} // namespace kv
