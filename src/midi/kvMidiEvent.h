#pragma once
// One MIDI event of a song: status, data bytes, meta data, times in ticks and, for a note-on,
// its paired note-off. The track that holds an event owns it; RelatedEvent does not own.
#include "base/TPersistent.h"
#include "midi/kvMidiCommon.h"

#include <cstdint>
#include <string>

namespace kv {

class TKVMidiEvent : public TPersistent {
public:
    // A paired note-off carries this TimeLength.
    static constexpr std::int32_t PairedOffMarker = -255;

    std::string ClassName() const override { return "TKVMidiEvent"; }

    // Derived from the status and the velocity: $9x with velocity 0 is a note-off.
    TKVEventType EventType() const;

    std::uint8_t Track() const { return FTrack; }
    void SetTrack(std::uint8_t Value);
    std::uint8_t Event() const { return FEvent; }
    void SetEvent(std::uint8_t Value);
    // Setting the note of a note-on moves its note-off to the same note.
    std::uint8_t Data1() const { return FData1; }
    void SetData1(std::uint8_t Value);
    std::uint8_t Data2() const { return FData2; }
    void SetData2(std::uint8_t Value);
    // Raw meta data bytes, one char per byte.
    const std::string& Letter() const { return FLetter; }
    void SetLetter(const std::string& Value);
    std::int32_t DeltaTime() const { return FDeltaTime; }
    void SetDeltaTime(std::int32_t Value);
    // Moving a note-on moves its note-off along, so that the note keeps its length.
    std::int32_t StartTime() const { return FStartTime; }
    void SetStartTime(std::int32_t Value);
    std::int32_t TimeLength() const { return FTimeLength; }
    void SetTimeLength(std::int32_t Value);
    // Raises EAssertionFailed "Related event is self." for the event itself.
    TKVMidiEvent* RelatedEvent() const { return FRelatedEvent; }
    void SetRelatedEvent(TKVMidiEvent* Value);

protected:
    // Copies every field into another TKVMidiEvent, bypassing the setters.
    void AssignTo(TPersistent& Dest) const override;

private:
    bool IsNoteOnWithOff() const { return EventType() == etOn && FRelatedEvent != nullptr; }

    std::uint8_t FTrack = 1;
    std::uint8_t FEvent = 0;
    std::uint8_t FData1 = 0;
    std::uint8_t FData2 = 0;
    std::string FLetter;
    std::int32_t FDeltaTime = 0;
    std::int32_t FStartTime = 0;
    std::int32_t FTimeLength = 0;
    TKVMidiEvent* FRelatedEvent = nullptr;
};

} // namespace kv
