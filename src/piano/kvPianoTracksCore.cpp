#include "piano/kvPianoTracksCore.h"

#include "base/AnsiText.h"
#include "base/Format.h"

#include <algorithm>

namespace kv {

std::string TrackItemText(const TMyMidiTrack& Track)
{
    // A file keeps its track names in the system's code page.
    return Format("[%.2d] %s", {Track.TrackIndex(), AnsiToUtf8(Track.TrackName())});
}

TKVPianoTracksCore::TKVPianoTracksCore() = default;

void TKVPianoTracksCore::SetMidiFile(TKVMidiFile* Value)
{
    FSongWatch.Reset();
    FMidiFile = Value;
    if (Value == nullptr) return;
    FSongWatch = Value->Watchers().Watch([this](const TKVSongEdit& Edit) {
        if (Edit.Change == scTracksFreeing) ClearTracks();
    });
}

void TKVPianoTracksCore::SetCaptionL(const std::string& Value)
{
    FCaptionL = Value;
    CaptionChanged(thLeft);
}

void TKVPianoTracksCore::SetCaptionR(const std::string& Value)
{
    FCaptionR = Value;
    CaptionChanged(thRight);
}

void TKVPianoTracksCore::SetHandColorL(TColor Value)
{
    FHandColorL = Value;
    RecolourHand(thLeft);
}

void TKVPianoTracksCore::SetHandColorR(TColor Value)
{
    FHandColorR = Value;
    RecolourHand(thRight);
}

void TKVPianoTracksCore::RecolourHand(TKVTrackHand Hand)
{
    for (const TKVTrackItem& item : FItems[Hand]) item.Track->SetTrackColor(HandColor(Hand));
}

void TKVPianoTracksCore::AddTrack(TMyMidiTrack* MidiTrack)
{
    if (MidiTrack == nullptr) return;
    const TKVTrackHand hand = MidiTrack->TrackHand() == thRight ? thRight : thLeft;
    FItems[hand].push_back({TrackItemText(*MidiTrack), MidiTrack, MidiTrack->Active()});
    MidiTrack->SetTrackColor(HandColor(hand));
    ItemsChanged(hand);
}

void TKVPianoTracksCore::DelTrack(TMyMidiTrack* MidiTrack)
{
    if (MidiTrack == nullptr) return;
    const TKVTrackHand hand = MidiTrack->TrackHand() == thRight ? thRight : thLeft;
    auto& items = FItems[hand];
    const auto found = std::find_if(items.begin(), items.end(),
                                    [MidiTrack](const TKVTrackItem& item) { return item.Track == MidiTrack; });
    if (found == items.end()) return;
    items.erase(found);
    ItemsChanged(hand);
}

void TKVPianoTracksCore::ClearTracks()
{
    for (TKVTrackHand hand : {thLeft, thRight}) {
        FItems[hand].clear();
        ItemsChanged(hand);
    }
}

TMyMidiTrack* TKVPianoTracksCore::SongTrack(int iTrack) const
{
    if (FMidiFile == nullptr) return nullptr;
    return FMidiFile->GetTrack(iTrack);
}

void TKVPianoTracksCore::SetTrackActive(int iTrack, bool Value)
{
    TMyMidiTrack* track = SongTrack(iTrack);
    if (track == nullptr) return;
    track->SetActive(Value);
    // The check box shows whether the track plays, whoever switched it.
    for (TKVTrackHand hand : {thLeft, thRight})
        for (TKVTrackItem& item : FItems[hand])
            if (item.Track == track && item.Checked != Value) {
                item.Checked = Value;
                ItemsChanged(hand);
            }
}

bool TKVPianoTracksCore::GetTrackActive(int iTrack) const
{
    const TMyMidiTrack* track = SongTrack(iTrack);
    return track == nullptr || track->Active();
}

void TKVPianoTracksCore::SetTrackHand(int iTrack, TKVTrackHand Value)
{
    if (TMyMidiTrack* track = SongTrack(iTrack)) MoveTrack(*track, Value);
}

TKVTrackHand TKVPianoTracksCore::GetTrackHand(int iTrack) const
{
    const TMyMidiTrack* track = SongTrack(iTrack);
    return track == nullptr ? thLeft : track->TrackHand();
}

void TKVPianoTracksCore::MoveTrack(TMyMidiTrack& Track, TKVTrackHand Value)
{
    DelTrack(&Track);
    Track.SetTrackHand(Value);
    AddTrack(&Track);
}

void TKVPianoTracksCore::ToggleItem(TKVTrackHand Hand, int Index)
{
    auto& items = FItems[Hand];
    if (Index < 0 || Index >= static_cast<int>(items.size())) return;
    TKVTrackItem& item = items[static_cast<std::size_t>(Index)];
    item.Checked = !item.Checked;
    // The item's own track: its position in the song may differ from its TrackIndex.
    item.Track->SetActive(item.Checked);
    ItemsChanged(Hand);
    if (OnTrackClick) OnTrackClick(TrackList(Hand));
}

bool TKVPianoTracksCore::ListHand(const TObject* Source, TKVTrackHand& Hand) const
{
    if (Source == nullptr) return false;
    for (TKVTrackHand hand : {thLeft, thRight}) {
        if (Source == TrackList(hand)) {
            Hand = hand;
            return true;
        }
    }
    return false;
}

bool TKVPianoTracksCore::AcceptsDrag(const TObject* Source) const
{
    TKVTrackHand hand = thLeft;
    return ListHand(Source, hand);
}

void TKVPianoTracksCore::DropItem(TKVTrackHand Target, const TObject* Source, int SourceIndex)
{
    TKVTrackHand source = thLeft;
    if (!ListHand(Source, source)) return;
    const auto& items = FItems[source];
    if (SourceIndex < 0 || SourceIndex >= static_cast<int>(items.size())) return;
    TMyMidiTrack* track = items[static_cast<std::size_t>(SourceIndex)].Track;
    // The item is listed under the source's hand; the track follows that list, not its field.
    track->SetTrackHand(source);
    MoveTrack(*track, Target);
}

} // namespace kv
