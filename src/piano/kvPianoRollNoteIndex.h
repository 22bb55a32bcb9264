#pragma once
// Finds the notes of the roll's event list whose time span meets a range of ticks without looking
// at every event: the note-ons that have their note-off, sorted by start, with the latest end of
// every prefix and of every block of them, so a binary search and a skip over blocks that end too
// early bound the candidates. It keeps copies of the times: rebuild it whenever the list is
// rebuilt or any of its notes is moved, stretched or deleted.
#include "midi/kvMidiEvent.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

// An event of the roll's list and the index of the track holding it.
struct TKVRollEntry {
    TKVMidiEvent* Event;
    std::int32_t TrackIndex;
};

class TKVRollNoteIndex {
public:
    void Rebuild(const std::vector<TKVRollEntry>& List);
    void Clear();
    // Positions in the list, ascending, of the notes with start <= Last and end >= First.
    std::vector<std::size_t> Meeting(std::int64_t First, std::int64_t Last) const;

private:
    struct TItem {
        std::int32_t Start;
        std::int32_t End;
        std::size_t Position;
    };
    std::vector<TItem> FItems;          // by start, then by list position
    std::vector<std::int32_t> FPrefixEnd; // the latest end among FItems[0..i]
    std::vector<std::int32_t> FBlockEnd;  // the latest end within each block of items
};

} // namespace kv
