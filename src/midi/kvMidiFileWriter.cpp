// Writing a song as a Standard MIDI File.
#include "midi/kvMidiFile.h"

#include "base/Format.h"
#include "base/TFileStream.h"
#include "midi/kvMidiTicks.h"
#include "midi/kvMidiVarLen.h"

namespace kv {

namespace {

constexpr std::size_t MaxTrackSize = 16777216; // 16 MiB per track body

void WriteBigEndian(std::string& Out, std::uint32_t Value, int Bytes)
{
    for (int shift = 8 * (Bytes - 1); shift >= 0; shift -= 8) Out += static_cast<char>((Value >> shift) & 0xFF);
}

void WriteData(std::string& Out, const std::string& Data)
{
    WriteVarLen(Out, static_cast<std::uint32_t>(Data.size()));
    Out += Data;
}

// Every status is written (no running status). Data bytes of channel messages keep their low
// 7 bits, so that an edited value of 128 or more cannot turn into a status byte in the file.
void WriteEvent(std::string& Out, const TKVMidiEvent& Event, std::int32_t DeltaTime)
{
    const std::uint8_t status = Event.Event();
    WriteVarLen(Out, static_cast<std::uint32_t>(DeltaTime));
    Out += static_cast<char>(status);
    if (status == 0xFF) {
        Out += static_cast<char>(Event.Data1());
        WriteData(Out, Event.Letter());
    } else if (status == 0xF0 || status == 0xF7) {
        WriteData(Out, Event.Letter());
    } else if (status < 0xF0) {
        Out += static_cast<char>(Event.Data1() & 0x7F);
        const std::uint8_t kind = status & 0xF0;
        if (kind != 0xC0 && kind != 0xD0) Out += static_cast<char>(Event.Data2() & 0x7F);
    }
}

} // namespace

void TKVMidiFile::WriteFile()
{
    const std::string bytes = SongBytes();
    TFileStream file(FFileName, TFileMode::fmCreate);
    file.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    file.Flush();
    FileDone();
}

void TKVMidiFile::WriteFile(TMemoryStream& Stream)
{
    const std::string bytes = SongBytes();
    Stream.Clear();
    Stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    FileDone();
}

std::string TKVMidiFile::SongBytes()
{
    std::string file;
    if (FFileType == feOve) {
        WriteOve();
        return file;
    }
    WriteHeader(file);
    for (const auto& track : FTrackList) {
        FMidiTrack = track.get();
        WriteTrack(file, *track);
    }
    return file;
}

void TKVMidiFile::WriteHeader(std::string& Out) const
{
    Out += "MThd";
    WriteBigEndian(Out, 6, 4);
    WriteBigEndian(Out, FMidiHeader.HeaderType, 2);
    WriteBigEndian(Out, static_cast<std::uint32_t>(FMidiHeader.NumberTracks), 2);
    WriteBigEndian(Out, static_cast<std::uint32_t>(FMidiHeader.PulsesPerQuarter), 2);
}

void TKVMidiFile::WriteTrack(std::string& Out, const TMyMidiTrack& Track) const
{
    std::string body;
    // An event with a status below $80 has no form in a file; its time goes to the next event.
    std::int32_t carriedDelta = 0;
    for (int i = 0; i < Track.TrackEventCount(); ++i) {
        const TKVMidiEvent& event = *Track.GetEvent(i);
        const std::int32_t delta = AddTicks(carriedDelta, event.DeltaTime());
        if (event.Event() < 0x80) {
            carriedDelta = delta;
            continue;
        }
        carriedDelta = 0;
        WriteEvent(body, event, delta);
    }
    if (body.size() > MaxTrackSize) throw Exception(Format("Overflow track size: %d!", {body.size()}));
    Out += "MTrk";
    WriteBigEndian(Out, static_cast<std::uint32_t>(body.size()), 4);
    Out += body;
}

} // namespace kv
