#pragma once
// Songs for the piano-roll tests, read back from the bytes they write so that they are ready and
// know their note range as a song opened from a file does, and a log of the MIDI events a roll
// reports that checks every note-off against a note-on sent before it.
#include "base/TMemoryStream.h"
#include "midi/kvMidiFile.h"


#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace kv::test {

struct RollNote {
    int track;
    int pitch;
    int start;
    int end;
    int channel = 0;
};

inline std::unique_ptr<TKVMidiEvent> RollEvent(int status, int data1, int data2, int start)
{
    auto event = std::make_unique<TKVMidiEvent>();
    event->SetEvent(static_cast<std::uint8_t>(status));
    event->SetData1(static_cast<std::uint8_t>(data1));
    event->SetData2(static_cast<std::uint8_t>(data2));
    event->SetStartTime(start);
    return event;
}

// A format-1 song with Tracks tracks holding the notes, as read from its own file.
inline std::unique_ptr<TKVMidiFile> MakeRollSong(int PulsesPerQuarter, const std::vector<RollNote>& Notes,
                                                  int Tracks = 2)
{
    auto song = std::make_unique<TKVMidiFile>(nullptr);
    std::vector<std::unique_ptr<TMyMidiTrack>> tracks;
    std::vector<int> ends(static_cast<std::size_t>(Tracks), 0);
    for (int t = 0; t < Tracks; ++t) tracks.push_back(std::make_unique<TMyMidiTrack>());
    for (const RollNote& n : Notes) {
        auto& track = *tracks.at(static_cast<std::size_t>(n.track));
        track.AddEvent(RollEvent(0x90 | n.channel, n.pitch, 100, n.start), RollEvent(0x80 | n.channel, n.pitch, 64, n.end));
        ends[static_cast<std::size_t>(n.track)] = std::max(ends[static_cast<std::size_t>(n.track)], n.end);
    }
    for (int t = 0; t < Tracks; ++t) {
        auto& track = *tracks[static_cast<std::size_t>(t)];
        track.AddEvent(RollEvent(0xFF, 0x2F, 0, ends[static_cast<std::size_t>(t)]));
        track.UpdateDeltaTime();
        song->SetTrack(std::move(tracks[static_cast<std::size_t>(t)]));
    }
    song->CreateHeader(PulsesPerQuarter, true);
    TMemoryStream bytes;
    song->WriteFile(bytes);
    auto read = std::make_unique<TKVMidiFile>(nullptr);
    read->ReadFile(bytes);
    return read;
}

// The note-on of the song at this pitch and start.
inline TKVMidiEvent* FindNote(const TKVMidiFile& Song, int Pitch, int Start)
{
    for (int t = 0; t < Song.TrackCount(); ++t)
        for (int i = 0; i < Song.GetTrack(t)->TrackEventCount(); ++i) {
            TKVMidiEvent* e = Song.GetTrack(t)->GetEvent(i);
            if (e->EventType() == etOn && e->Data1() == Pitch && e->StartTime() == Start) return e;
        }
    return nullptr;
}

inline int NoteOnCount(const TKVMidiFile& Song)
{
    int count = 0;
    for (int t = 0; t < Song.TrackCount(); ++t)
        for (int i = 0; i < Song.GetTrack(t)->TrackEventCount(); ++i)
            if (Song.GetTrack(t)->GetEvent(i)->EventType() == etOn) ++count;
    return count;
}

// What a roll sounded: each note-off must end a note-on of the same channel and pitch.
struct SoundLog {
    int ons = 0;
    int offs = 0;
    std::map<std::pair<int, int>, int> sounding;
    bool unmatchedOff = false;

    void Take(const TKVMidiEvent* e)
    {
        const std::pair<int, int> key{e->Event() & 0x0F, e->Data1()};
        if (e->EventType() == etOn) {
            ++ons;
            ++sounding[key];
        } else if (e->EventType() == etOff) {
            ++offs;
            if (--sounding[key] < 0) unmatchedOff = true;
        }
    }
    bool Silent() const
    {
        for (const auto& [key, count] : sounding)
            if (count != 0) return false;
        return !unmatchedOff;
    }
};

} // namespace kv::test
