#pragma once
// One track of a song: its events in track order (owned), the texts of its meta events, the
// channels it sets controllers or programs on, its hand and colour, and its playing state.
//
// A note-on's RelatedEvent always points at an event of this same track or is nil: events that
// arrive linked to something outside lose the link, and removing an event clears every link to it.
#include "base/TObject.h"
#include "base/TObjectList.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiEvent.h"
#include "midi/kvMidiEventTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace kv {

// The text PutCopyright writes; the program may set its own at start.
extern std::string CopyrightNotice;

class TMyMidiTrack : public TObject {
public:
    std::string ClassName() const override { return "TMyMidiTrack"; }

    // Append a copyright-notice meta event / an end-of-track event through PutEvent.
    void PutCopyright();
    void PutEndEvent();
    // Appends mEvent, then relatedOff (which becomes mEvent's RelatedEvent) when given; returns
    // the index of the last event appended. Nothing is sorted or re-timed: call UpdateDeltaTime.
    int AddEvent(std::unique_ptr<TKVMidiEvent> mEvent, std::unique_ptr<TKVMidiEvent> relatedOff = nullptr);
    // Removes mEvent and its related note-off. With FreeIt they are freed and nothing is returned;
    // otherwise they are handed back in list order, still linked to each other.
    std::vector<std::unique_ptr<TKVMidiEvent>> DelEvent(TKVMidiEvent* mEvent, bool FreeIt);
    // Removes and frees each of the events and its related note-off in one pass over the track,
    // as DelEvent with FreeIt would one by one. Events the track does not hold are left alone.
    void DelEvents(const std::vector<TKVMidiEvent*>& Events);
    // nil outside 0..TrackEventCount - 1.
    TKVMidiEvent* GetEvent(int Index) const;
    // Appends an event while the track is built in time order: the event starts at the running
    // track time plus its delta time. Returns the event, now owned by the track.
    TKVMidiEvent* PutEvent(std::unique_ptr<TKVMidiEvent> mEvent);
    TKVMidiEvent* GetLastEvent() const;
    // Whether the track sets a controller or program on the channel (0-15; false for others).
    bool GetChannels(int Index) const;
    // Pairs each note-on with the first free note-off of the same note after it, then drops the
    // note-ons that found none.
    void CalcOffEvents();
    // Orders the events by start time (stably, the end of track last) and recomputes delta times.
    void UpdateDeltaTime();

    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    bool TrackEnd() const { return FTrackEnd; }
    void SetTrackEnd(bool Value) { FTrackEnd = Value; }
    // Running time while the track is built; the next event's index while it is played.
    std::int32_t TrackTime() const { return FTrackTime; }
    void SetTrackTime(std::int32_t Value) { FTrackTime = Value; }
    const std::string& TrackKeyword() const { return FTrackKeyword; }
    void SetTrackKeyword(const std::string& Value) { FTrackKeyword = Value; }
    const std::string& TrackCopyright() const { return FTrackCopyright; }
    void SetTrackCopyright(const std::string& Value) { FTrackCopyright = Value; }
    const std::string& TrackName() const { return FTrackName; }
    void SetTrackName(const std::string& Value) { FTrackName = Value; }
    const std::string& TrackInstrument() const { return FTrackInstrument; }
    void SetTrackInstrument(const std::string& Value) { FTrackInstrument = Value; }
    const std::string& TrackLyricText() const { return FTrackLyricText; }
    void SetTrackLyricText(const std::string& Value) { FTrackLyricText = Value; }
    std::int32_t TrackIndex() const { return FTrackIndex; }
    void SetTrackIndex(std::int32_t Value) { FTrackIndex = Value; }
    TKVTrackHand TrackHand() const { return FTrackHand; }
    void SetTrackHand(TKVTrackHand Value) { FTrackHand = Value; }
    // A colour of the GUI library: red in the low byte, then green, then blue.
    std::int32_t TrackColor() const { return FTrackColor; }
    void SetTrackColor(std::int32_t Value) { FTrackColor = Value; }
    // Start time of the last event; 0 for an empty track.
    std::int32_t TrackLength() const;
    int TrackEventCount() const { return FTrackEventList.Count(); }
    // Raised with true after AddEvent, each event removed and UpdateDeltaTime.
    const TModified& TrackModified() const { return FTrackModified; }
    void SetTrackModified(TModified Value) { FTrackModified = std::move(Value); }

private:
    bool Contains(const TKVMidiEvent* Event) const { return FTrackEventList.IndexOf(Event) >= 0; }
    void UnlinkIfOutside(TKVMidiEvent& Event) const;
    template <typename IsRemoved>
    void ForgetLinksTo(IsRemoved isRemoved);
    void RaiseTrackModified(int Times) const;
    void AppendMetaText(const TKVMidiEvent& Event);
    void PairNoteOns();
    void DropUnpairedNoteOns();

    bool FActive = true;
    bool FTrackEnd = false;
    TObjectList<TKVMidiEvent> FTrackEventList;
    std::string FTrackName;
    std::string FTrackKeyword;
    std::string FTrackCopyright;
    TKVChannels FTrackChannels{};
    std::string FTrackInstrument;
    std::string FTrackLyricText;
    std::int32_t FTrackTime = 0;
    std::int32_t FTrackIndex = 0;
    TKVTrackHand FTrackHand = thLeft;
    std::int32_t FTrackColor = 0xFFFFFF;
    TModified FTrackModified;
};

// Clears every RelatedEvent of the track that points at an event for which isRemoved holds.
template <typename IsRemoved>
void TMyMidiTrack::ForgetLinksTo(IsRemoved isRemoved)
{
    for (const auto& event : FTrackEventList)
        if (event->RelatedEvent() != nullptr && isRemoved(event->RelatedEvent())) event->SetRelatedEvent(nullptr);
}

} // namespace kv
