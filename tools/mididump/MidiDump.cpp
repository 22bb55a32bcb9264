#include "MidiDump.h"

#include "base/Format.h"
#include "midi/kvMidiVarLen.h"

namespace kv::tools {

std::string EventBytes(const TKVMidiEvent& Event)
{
    std::string bytes(1, static_cast<char>(Event.Event()));
    const std::uint8_t status = Event.Event();
    if (status == 0xFF || status == 0xF0 || status == 0xF7) {
        if (status == 0xFF) bytes += static_cast<char>(Event.Data1());
        WriteVarLen(bytes, static_cast<std::uint32_t>(Event.Letter().size()));
        bytes += Event.Letter();
    } else if (status < 0xF0) {
        bytes += static_cast<char>(Event.Data1());
        const std::uint8_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) bytes += static_cast<char>(Event.Data2());
    }
    return bytes;
}

void AppendHex(std::string& text, const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) text += ' ';
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
}

std::string DumpSong(const TKVMidiFile& Song)
{
    const TKVMidiHeader& header = Song.MidiHeader();
    std::string dump = Format("0, 0, Header, %d, %d, %d\n",
                              {static_cast<int>(header.HeaderType), header.NumberTracks, header.PulsesPerQuarter});
    for (int t = 0; t < Song.TrackCount(); ++t) {
        const TMyMidiTrack& track = *Song.GetTrack(t);
        for (int i = 0; i < track.TrackEventCount(); ++i) {
            const TKVMidiEvent& event = *track.GetEvent(i);
            dump += std::to_string(t + 1) + ", " + std::to_string(static_cast<std::uint32_t>(event.StartTime())) + ", ";
            AppendHex(dump, EventBytes(event));
            dump += '\n';
        }
    }
    return dump;
}

} // namespace kv::tools
