// The player in a song that is edited while it plays: it walks each track by index, and an edit
// re-sorts tracks under it.
#include "midi/kvMidiPlayer.h"

#include <algorithm>

namespace kv {

namespace {

bool IsNoteOn(const TKVMidiEvent& Event) { return (Event.Event() & 0xF0) == 0x90 && Event.Data2() != 0; }

bool IsNoteOff(const TKVMidiEvent& Event)
{
    return (Event.Event() & 0xF0) == 0x80 || ((Event.Event() & 0xF0) == 0x90 && Event.Data2() == 0);
}

} // namespace

void TKVMidiPlayer::SetMidiFile(TKVMidiFile* Value)
{
    FSongWatch.Reset();
    FMidiFile = Value;
    FSoundingNotes.clear();
    if (Value != nullptr) FSongWatch = Value->Watchers().Watch([this](const TKVSongEdit& Edit) { SongEdited(Edit); });
}

void TKVMidiPlayer::SongEdited(const TKVSongEdit& Edit)
{
    if (Edit.Change == scEventsChanged || Edit.Change == scTracksReplaced) KeepPlace();
}

void TKVMidiPlayer::KeepPlace()
{
    // Paused, the player chases the song again when it continues; recording, the last track's
    // TrackTime is its running time, not an index.
    if (FMidiFile == nullptr || FStatus != stPlaying) return;
    // Every event before FDueBefore was handed out; a track is sorted by time, so they lead it.
    for (int t = 0; t < FMidiFile->TrackCount(); ++t) {
        TMyMidiTrack& track = *FMidiFile->GetTrack(t);
        int next = 0;
        while (next < track.TrackEventCount() && track.GetEvent(next)->StartTime() < FDueBefore) ++next;
        track.SetTrackTime(next);
    }
    EndNotesWithoutOff();
}

void TKVMidiPlayer::NoteHandedOut(int TrackIndex, const TKVMidiEvent& Event)
{
    const auto channel = static_cast<std::uint8_t>(Event.Event() & 0x0F);
    if (IsNoteOn(Event)) {
        FSoundingNotes.push_back({TrackIndex, channel, Event.Data1()});
    } else if (IsNoteOff(Event)) {
        const auto found = std::find_if(FSoundingNotes.begin(), FSoundingNotes.end(), [&](const TSoundingNote& n) {
            return n.Track == TrackIndex && n.Channel == channel && n.Pitch == Event.Data1();
        });
        if (found != FSoundingNotes.end()) FSoundingNotes.erase(found);
    }
}

void TKVMidiPlayer::EndNotesWithoutOff()
{
    // A note whose note-off was deleted, or moved before the place already played, would sound on.
    for (std::size_t i = FSoundingNotes.size(); i-- > 0;) {
        const TSoundingNote note = FSoundingNotes[i];
        const TMyMidiTrack* track = FMidiFile->GetTrack(note.Track);
        bool offAhead = false;
        for (int e = track != nullptr ? track->TrackTime() : 0; track != nullptr && e < track->TrackEventCount() && !offAhead; ++e) {
            const TKVMidiEvent& event = *track->GetEvent(e);
            offAhead = IsNoteOff(event) && (event.Event() & 0x0F) == note.Channel && event.Data1() == note.Pitch;
        }
        if (offAhead) continue;
        FSoundingNotes.erase(FSoundingNotes.begin() + static_cast<std::ptrdiff_t>(i));
        TKVMidiEvent off;
        off.SetTrack(static_cast<std::uint8_t>(note.Track));
        off.SetEvent(static_cast<std::uint8_t>(0x80 | note.Channel));
        off.SetData1(note.Pitch);
        if (OnMidiEvent) OnMidiEvent(&off);
    }
}

} // namespace kv
