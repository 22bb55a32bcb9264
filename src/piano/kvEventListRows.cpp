#include "piano/kvEventListRows.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "base/ResStr.h"
#include "midi/kvMidiCommon.h"

namespace kv {

namespace {

constexpr std::uint8_t MetaStatus = 0xFF;

std::string Hex(std::uint8_t Value)
{
    return Format("0x%2.x", {static_cast<int>(Value)});
}

std::string MetaDescription(const TKVMidiEvent& Event)
{
    switch (Event.Data1()) {
    case 0x51: {
        // A tempo of 0 has no beats per minute.
        const std::string& letter = Event.Letter();
        const bool zero = letter.size() >= 3 && letter[0] == 0 && letter[1] == 0 && letter[2] == 0;
        return zero ? ResStr("Speed: -") : Format(ResStr("Speed: %d"), {TempoToBpm(letter)});
    }
    case 0x58: return Format(ResStr("Meter: %s"), {TimeSignatureToText(Event.Letter())});
    case 0x59: return Format(ResStr("Key: %s"), {KeySignatureToText(Event.Letter())});
    case 1: case 2: case 3: case 4: case 5: return AnsiToUtf8(Event.Letter()); // texts in the code page
    case 0x2F: return ResStr("Track End");
    default: return Format(ResStr("Unkown Data1: %d"), {static_cast<int>(Event.Data1())});
    }
}

} // namespace

std::string EventDescription(const TKVMidiEvent& Event)
{
    const std::uint8_t status = Event.Event();
    if (status == MetaStatus) return MetaDescription(Event);
    switch (status >> 4) {
    case 0x8: return Format(ResStr("Note Off: %s"), {NoteToName(Event.Data1())});
    case 0x9: return Format(ResStr("Note On: %s"), {NoteToName(Event.Data1())});
    case 0xA: return ResStr("Key After Touch");
    case 0xB: return Event.Data1() == 7 ? Format(ResStr("Volume: %d"), {static_cast<int>(Event.Data2())}) : ResStr("Control Change");
    case 0xC: return ResStr("Program Change");
    case 0xD: return ResStr("Chan After Touch");
    case 0xE: return ResStr("Pitch Bend");
    default: return Format(ResStr("Unkown Event: %d"), {static_cast<int>(status)});
    }
}

std::array<std::string, 9> EventRowTexts(const TKVMidiEvent& Event, std::int32_t PulsesPerQuarter)
{
    const std::uint8_t status = Event.Event();
    return {PulsesPerQuarter >= 1 ? Format("%f", {TicksToBeats(PulsesPerQuarter, Event.StartTime())}) : "-",
            Format("%d", {Event.StartTime()}),
            Format("%d", {Event.DeltaTime()}),
            Format("%d", {Event.Track() + 1}),
            status < MetaStatus ? Format("%d", {(status & 15) + 1}) : "-",
            Hex(status),
            Hex(Event.Data1()),
            Hex(Event.Data2()),
            EventDescription(Event)};
}

TColor EventRowColor(const TKVMidiEvent& Event)
{
    switch (Event.EventType()) {
    case etOn: return 0x000000;
    case etOff: return 0x808080;
    case etSystem: return 0x008000;
    case etControl: return 0x0000FF;
    case etProgram: return 0xFF0000;
    case etOther: return 0x000080;
    }
    return 0x000080;
}

} // namespace kv
