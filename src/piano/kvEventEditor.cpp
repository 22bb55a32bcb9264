#include "piano/kvEventEditor.h"

#include "base/AnsiText.h"
#include "base/Conversions.h"
#include "base/Exceptions.h"

#include <memory>
#include <vector>

namespace kv {

namespace {

constexpr std::uint8_t MetaStatus = 0xFF;
constexpr std::int32_t MaxPulsesPerQuarter = 0x7FFF;

bool IsTextMeta(std::uint8_t Type)
{
    return Type >= 1 && Type <= 5;
}

} // namespace

std::int32_t EditorNumber(const std::string& Text, std::int32_t Current)
{
    return StrToIntDef(Text, Current);
}

std::uint8_t EditorByte(const std::string& Text, std::uint8_t Current)
{
    return static_cast<std::uint8_t>(EditorNumber(Text, Current) & 0xFF);
}

TKVMetaField MetaFieldOf(const TKVMidiEvent& Event)
{
    if (Event.Event() != MetaStatus) return {};
    const std::string& letter = Event.Letter();
    switch (Event.Data1()) {
    case 0x51: {
        const bool zero = letter.size() >= 3 && letter[0] == 0 && letter[1] == 0 && letter[2] == 0;
        return {true, "Speed:", zero ? std::string() : IntToStr(TempoToBpm(letter))};
    }
    case 0x58: return {true, "Time Signature:", TimeSignatureToText(letter)};
    case 0x59: return {true, "Key Signature:", KeySignatureToText(letter)};
    default: break;
    }
    if (IsTextMeta(Event.Data1())) return {true, "Letter:", AnsiToUtf8(letter)}; // texts in the code page
    return {};
}

TKVEventValues ReadEventFields(const TKVMidiEvent& Event, const TKVEventFields& Fields)
{
    TKVEventValues values;
    values.Track = static_cast<std::uint8_t>(Fields.Track - 1);
    if (Event.Event() == MetaStatus) {
        const std::uint8_t type = Event.Data1();
        if (type == 0x51) {
            const std::int32_t bpm = StrToInt(Fields.MetaValue);
            if (bpm < 1) throw EConvertError("'" + Fields.MetaValue + "' is not a valid speed");
            values.Letter = BpmToTempo(bpm);
        } else if (type == 0x58) {
            values.Letter = TextToTimeSignature(Fields.MetaValue);
        } else if (type == 0x59) {
            values.Letter = TextToKeySignature(Fields.MetaValue);
        } else if (IsTextMeta(type)) {
            values.Letter = Utf8ToAnsi(Fields.MetaValue);
        }
    }
    values.Event = EditorByte(Fields.Event, Event.Event());
    values.Data1 = EditorByte(Fields.Data1, Event.Data1());
    values.Data2 = EditorByte(Fields.Data2, Event.Data2());
    values.StartTime = EditorNumber(Fields.StartTime, Event.StartTime());
    return values;
}

void WriteEventValues(TKVMidiEvent& Event, const TKVEventValues& Values)
{
    if (Values.Letter) Event.SetLetter(*Values.Letter);
    Event.SetEvent(Values.Event);
    Event.SetData1(Values.Data1);
    Event.SetData2(Values.Data2);
    Event.SetStartTime(Values.StartTime);
}

int TrackHoldingEvent(const TKVMidiFile& Song, const TKVMidiEvent* Event)
{
    const auto holds = [&](int Index) {
        const TMyMidiTrack* track = Song.GetTrack(Index);
        if (track == nullptr) return false;
        for (int i = 0; i < track->TrackEventCount(); ++i)
            if (track->GetEvent(i) == Event) return true;
        return false;
    };
    if (Event == nullptr) return -1;
    if (holds(Event->Track())) return Event->Track();
    for (int t = 0; t < Song.TrackCount(); ++t)
        if (holds(t)) return t;
    return -1;
}

void ApplyEventValues(TKVMidiFile& Song, TKVMidiEvent& Event, const TKVEventValues& Values, const void* Source)
{
    const int from = TrackHoldingEvent(Song, &Event);
    if (from < 0) return;
    TMyMidiTrack* track = Song.GetTrack(from);
    TMyMidiTrack* target = Song.GetTrack(Values.Track);
    if (target != nullptr && target != track) {
        std::vector<std::unique_ptr<TKVMidiEvent>> moved = track->DelEvent(&Event, false);
        track->UpdateDeltaTime();
        std::unique_ptr<TKVMidiEvent> self, partner;
        for (auto& e : moved) {
            e->SetTrack(Values.Track);
            (e.get() == &Event ? self : partner) = std::move(e);
        }
        // A note-on and its note-off go together, whichever of the two was edited.
        if (partner != nullptr && self->RelatedEvent() == partner.get())
            target->AddEvent(std::move(self), std::move(partner));
        else if (partner != nullptr && partner->RelatedEvent() == self.get())
            target->AddEvent(std::move(partner), std::move(self));
        else {
            target->AddEvent(std::move(self));
            if (partner != nullptr) target->AddEvent(std::move(partner));
        }
        track = target;
    }
    WriteEventValues(Event, Values);
    track->UpdateDeltaTime();
    Song.Watchers().EventsChanged(Source);
}

TKVMidiHeader ReadHeaderFields(const TKVMidiHeader& Current, const TKVHeaderFields& Fields)
{
    TKVMidiHeader header = Current;
    if (Fields.HeaderType >= ftSingle && Fields.HeaderType <= ftMultiAsynch)
        header.HeaderType = static_cast<TKVHeaderType>(Fields.HeaderType);
    header.NumberTracks = EditorNumber(Fields.NumberTracks, Current.NumberTracks);
    header.PulsesPerQuarter = EditorNumber(Fields.PulsesPerQuarter, Current.PulsesPerQuarter);
    if (header.PulsesPerQuarter < 1 || header.PulsesPerQuarter > MaxPulsesPerQuarter)
        throw EConvertError("Pulses per quarter must lie within 1.." + IntToStr(MaxPulsesPerQuarter) + ", not " +
                            IntToStr(header.PulsesPerQuarter));
    return header;
}

} // namespace kv
