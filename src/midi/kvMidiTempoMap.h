#pragma once
// The song's tempo changes as a map from milliseconds since song time 0 to ticks of the song, so
// that a recorded message lands on the tick where it plays back at the time it was played.
// Tempos are taken in whole beats per minute, as the player plays them.
#include <cstdint>
#include <vector>

namespace kv {

class TKVMidiFile;

class TKVTempoMap {
public:
    // 120 beats per minute throughout, the file format's default.
    explicit TKVTempoMap(std::int32_t PulsesPerQuarter);
    // The tempo events of every track of the song; without any, 120 beats per minute. Tempo
    // events that cannot be converted are left out. PulsesPerQuarter must be above 0.
    static TKVTempoMap FromSong(const TKVMidiFile& Song);

    // Before time 0 the song's tick 0; never beyond the largest tick.
    std::int32_t TickAtMs(std::int64_t Ms) const;

private:
    struct Segment {
        std::int64_t StartTick;
        double StartMs;
        double MsPerTick;
    };
    void AddTempo(std::int64_t Tick, std::int32_t Bpm);
    double MsPerTickAt(std::int32_t Bpm) const;

    std::int32_t FPulsesPerQuarter;
    std::vector<Segment> FSegments;
};

} // namespace kv
