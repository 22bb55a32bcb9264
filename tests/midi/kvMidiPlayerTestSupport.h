#pragma once
// Songs and a recording harness for the player's tests.
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiFile.h"
#include "midi/kvMidiPlayer.h"
#include "midi/kvMidiTestSupport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv::test {

inline std::unique_ptr<TKVMidiEvent> Meta(int type, const std::string& data)
{
    auto event = MakeEvent(0xFF, type, 0, 0);
    event->SetLetter(data);
    return event;
}
inline std::unique_ptr<TKVMidiEvent> Tempo(int bpm) { return Meta(0x51, BpmToTempo(bpm)); }
inline std::unique_ptr<TKVMidiEvent> EndOfTrack() { return Meta(0x2F, ""); }

struct Timed {
    std::int32_t Tick;
    std::unique_ptr<TKVMidiEvent> Event;
};

// Appends a track built in time order from events at the given ticks.
inline TMyMidiTrack& AddTrack(TKVMidiFile& song, std::vector<Timed> events)
{
    auto track = std::make_unique<TMyMidiTrack>();
    std::int32_t previous = 0;
    for (Timed& timed : events) {
        timed.Event->SetDeltaTime(timed.Tick - previous);
        previous = timed.Tick;
        track->PutEvent(std::move(timed.Event));
    }
    TMyMidiTrack& added = *track;
    song.SetTrack(std::move(track));
    song.CreateHeader(song.MidiHeader().PulsesPerQuarter, false);
    return added;
}

inline void SetPulses(TKVMidiFile& song, std::int32_t pulsesPerQuarter)
{
    TKVMidiHeader header = song.MidiHeader();
    header.PulsesPerQuarter = pulsesPerQuarter;
    song.SetMidiHeader(header);
}

// What the player handed out, as "track:status:data1" for short events and "meta:type" for meta ones.
inline std::string Describe(const TKVMidiEvent& event)
{
    if (event.Event() == 0xFF) return "meta:" + std::to_string(event.Data1());
    return std::to_string(event.StartTime()) + ":" + std::to_string(event.Event()) + ":" +
           std::to_string(event.Data1());
}

} // namespace kv::test
