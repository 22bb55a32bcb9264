#include "midi/kvMidiTempoMap.h"

#include "base/Exceptions.h"
#include "base/Rounding.h"
#include "midi/kvMidiFile.h"

#include <algorithm>
#include <limits>

namespace kv {

namespace {

constexpr std::int32_t DefaultBpm = 120;

struct TempoChange {
    std::int32_t Tick;
    std::int32_t Bpm;
};

bool IsTempo(const TKVMidiEvent& event)
{
    return event.Event() == 0xFF && event.Data1() == 0x51;
}

} // namespace

TKVTempoMap::TKVTempoMap(std::int32_t PulsesPerQuarter) : FPulsesPerQuarter(PulsesPerQuarter)
{
    KV_ASSERT(PulsesPerQuarter > 0, "PPQ <= 0");
    FSegments.push_back({0, 0.0, MsPerTickAt(DefaultBpm)});
}

TKVTempoMap TKVTempoMap::FromSong(const TKVMidiFile& Song)
{
    std::vector<TempoChange> changes;
    for (int t = 0; t < Song.TrackCount(); ++t) {
        const TMyMidiTrack& track = *Song.GetTrack(t);
        for (int i = 0; i < track.TrackEventCount(); ++i) {
            const TKVMidiEvent& event = *track.GetEvent(i);
            if (!IsTempo(event)) continue;
            try {
                changes.push_back({std::max(event.StartTime(), 0), TempoToBpm(event.Letter())});
            } catch (const Exception&) {
                // A tempo of 0 has no speed; the tempo before it stays in force.
            }
        }
    }
    std::stable_sort(changes.begin(), changes.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.Tick < b.Tick; });
    TKVTempoMap map(Song.MidiHeader().PulsesPerQuarter);
    for (const TempoChange& change : changes) map.AddTempo(change.Tick, change.Bpm);
    return map;
}

void TKVTempoMap::AddTempo(std::int64_t Tick, std::int32_t Bpm)
{
    const Segment& last = FSegments.back();
    const double startMs = last.StartMs + static_cast<double>(Tick - last.StartTick) * last.MsPerTick;
    if (Tick == last.StartTick)
        FSegments.back().MsPerTick = MsPerTickAt(Bpm); // the later of two tempos on one tick holds
    else
        FSegments.push_back({Tick, startMs, MsPerTickAt(Bpm)});
}

double TKVTempoMap::MsPerTickAt(std::int32_t Bpm) const
{
    return 60000.0 / Bpm / FPulsesPerQuarter;
}

std::int32_t TKVTempoMap::TickAtMs(std::int64_t Ms) const
{
    if (Ms <= 0) return 0;
    const double ms = static_cast<double>(Ms);
    auto segment = std::upper_bound(FSegments.begin(), FSegments.end(), ms,
                                    [](double value, const Segment& s) { return value < s.StartMs; });
    --segment; // the first segment starts at 0 ms, so one always lies at or before Ms
    const double tick = static_cast<double>(segment->StartTick) + (ms - segment->StartMs) / segment->MsPerTick;
    constexpr double largest = std::numeric_limits<std::int32_t>::max();
    if (tick >= largest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(Round(tick));
}

} // namespace kv
