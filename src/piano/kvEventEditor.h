#pragma once
// What the event and header editor reads and writes, without its window: the number fields
// (decimal, or hexadecimal after "$"; a text that is not a number keeps the current value; a byte
// keeps the low 8 bits of the number), the meta value field of tempo, time-signature,
// key-signature and text events, and the header's fields. Everything is read and checked before
// anything is written, so an edit that is refused changes nothing.
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiEvent.h"
#include "midi/kvMidiFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// The number a field holds, or Current when its text is not one.
std::int32_t EditorNumber(const std::string& Text, std::int32_t Current);
std::uint8_t EditorByte(const std::string& Text, std::uint8_t Current);

// The meta value field of an event: shown with its label for the meta types that have one.
struct TKVMetaField {
    bool Shown = false;
    std::string Label;
    std::string Text;
};
TKVMetaField MetaFieldOf(const TKVMidiEvent& Event);

// The event page's fields as typed; Track is the spin edit's value (tracks counted from 1).
struct TKVEventFields {
    std::int32_t Track = 1;
    std::string Event, Data1, Data2, StartTime, MetaValue;
};
// What Apply writes into the event; Letter only for the meta types with a value field.
struct TKVEventValues {
    std::uint8_t Track = 0;
    std::uint8_t Event = 0, Data1 = 0, Data2 = 0;
    std::int32_t StartTime = 0;
    std::optional<std::string> Letter;
};
// Raises EConvertError with the message to show when the meta value cannot be written: a speed
// that is not a whole number ("'<text>' is not a valid integer value") or not above 0.
TKVEventValues ReadEventFields(const TKVMidiEvent& Event, const TKVEventFields& Fields);
// Letter, status, data bytes and start time in that order; a note-on's note-off follows its
// pitch and start. The track is the caller's to change (it moves the event between tracks).
void WriteEventValues(TKVMidiEvent& Event, const TKVEventValues& Values);

// The index of the song's track holding Event: the track its Track names when that one holds it,
// otherwise the first that does; -1 when none does.
int TrackHoldingEvent(const TKVMidiFile& Song, const TKVMidiEvent* Event);
// Apply on the song: an event moved to another of the song's tracks takes its note-off along
// (both then name the new track), the values are written, and the tracks touched are re-sorted
// and re-timed; then the song's watchers hear of the change, with Source as the editor. An event
// the song does not hold is left alone.
void ApplyEventValues(TKVMidiFile& Song, TKVMidiEvent& Event, const TKVEventValues& Values, const void* Source = nullptr);

// The header page's fields as typed: the radio group's index and the two numbers.
struct TKVHeaderFields {
    std::int32_t HeaderType = 0;
    std::string NumberTracks, PulsesPerQuarter;
};
// Raises EConvertError when the pulses per quarter would lie outside 1..32767: a song without a
// resolution cannot be timed, and the file keeps only 15 bits of it.
TKVMidiHeader ReadHeaderFields(const TKVMidiHeader& Current, const TKVHeaderFields& Fields);

} // namespace kv
