#pragma once
// The messages recorded since the last tick, each stamped with the song tick at which it was
// played. Messages come from the MIDI driver's thread as well as from the interface thread; the
// player takes them on the interface thread and appends them to the song there, so the song's
// tracks are only ever changed on one thread.
#include "midi/kvMidiEvent.h"
#include "midi/kvMidiTempoMap.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace kv {

class TKVMidiRecordQueue {
public:
    struct Recorded {
        std::int32_t Tick;
        std::unique_ptr<TKVMidiEvent> Event;
    };

    // Runs the recording clock: StartTime is the tick count at which song time 0 lies.
    void Start(std::uint32_t StartTime, const TKVTempoMap& Map);
    // Messages put after this are not recorded; those already stamped wait for Take. Now, the
    // tick count, is where the recording paused or ended.
    void Stop(std::uint32_t Now);
    bool Running() const;
    // Any thread. Stamps the event with the song tick at the tick count Now and keeps it; while
    // the clock does not run the event is freed and false returned.
    bool Put(std::unique_ptr<TKVMidiEvent> Event, std::uint32_t Now);
    // Ends the recording: a note-off for every note still held, stamped where the clock last
    // stopped, so no recorded note lacks its end. Notes held across a pause are not ended by it.
    void EndHeldNotes();
    // The messages kept so far, in the order of their ticks (messages on one tick in the order
    // they were put); the queue is left empty.
    std::vector<Recorded> Take();

private:
    void FollowNote(const TKVMidiEvent& Event);

    mutable std::mutex FLock;
    std::uint32_t FStartTime = 0;
    std::optional<TKVTempoMap> FTempoMap; // set while the clock runs
    std::int32_t FStopTick = 0;
    std::vector<Recorded> FPending;
    // Per channel and note: note-ons recorded and not yet ended.
    std::array<std::uint16_t, 16 * 128> FHeld{};
};

} // namespace kv
