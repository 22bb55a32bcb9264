#pragma once
// The event list's Delete on the song, without the window.
#include "midi/kvMidiFile.h"

#include <vector>

namespace kv {

// Deletes the events of the selected rows from the song, each with its partner: a note-on takes
// its note-off along and a note-off its note-on, so that no note is left without its end. Events
// the song does not hold are skipped; the tracks touched are re-sorted and re-timed. The song's
// watchers hear of the events before they are freed and of the change after, with Source as the
// editor. Returns every event removed: the events are freed, the pointers are only for comparing.
std::vector<const TKVMidiEvent*> DeleteListedEvents(TKVMidiFile& Song, const std::vector<TKVMidiEvent*>& Events,
                                                    const void* Source = nullptr);

} // namespace kv
