// Reading a song from a Standard MIDI File.
#include "midi/kvMidiFile.h"

#include "base/Format.h"
#include "base/ResStr.h"
#include "midi/kvMidiChunkReader.h"
#include "midi/kvMidiFileError.h"

#include <algorithm>

namespace kv {

namespace {

constexpr std::uint8_t MetaStatus = 0xFF;
constexpr std::uint8_t SysExStatus = 0xF0;
constexpr std::uint8_t SysExEscapeStatus = 0xF7;
constexpr std::uint32_t HeaderDataSize = 6; // format, number of tracks, division

// A chunk that is not a track is passed over when its length fits in the file. A second header
// (the start of another song) and bytes that are no chunk end the reading quietly.
bool PassOverForeignChunk(TMidiChunkReader& File, const std::string& Id)
{
    if (Id == "MThd" || File.Remaining() < 4) return false;
    const std::uint32_t length = File.ReadBigEndian(4);
    if (length > File.Remaining()) return false;
    File.Skip(length, "a chunk");
    return true;
}

bool HasTwoDataBytes(std::uint8_t status)
{
    const std::uint8_t kind = status & 0xF0;
    return kind != 0xC0 && kind != 0xD0;
}

} // namespace

void TKVMidiFile::ReadFile()
{
    TMemoryStream stream;
    stream.LoadFromFile(FFileName);
    try {
        ReadFile(stream);
    } catch (const EMidiFileError& error) {
        throw EMidiFileError(Format(ResStr("Cannot read \"%s\": %s"), {FFileName, error.Message()}));
    }
}

void TKVMidiFile::ReadFile(TMemoryStream& Stream)
{
    FWatchers.TracksFreeing(this);
    FMidiTrack = nullptr;
    FTrackList.Clear();
    FLowNote = 255;
    FHighNote = 0;
    try {
        if (FFileType == feMidi) {
            TMidiChunkReader file(Stream.Memory(), static_cast<std::size_t>(Stream.Size()), "the file");
            ReadHeader(file);
            while (!file.AtEnd() && ReadTrack(file)) {
            }
        } else {
            ReadOve();
        }
    } catch (...) {
        FWatchers.TracksReplaced(this);
        throw;
    }
    FileDone();
    FWatchers.TracksReplaced(this);
}

void TKVMidiFile::FileDone()
{
    FFileReady = true;
    if (OnFileModified) OnFileModified(false);
}

void TKVMidiFile::ReadHeader(TMidiChunkReader& File)
{
    // Told as every other reading error is: where in the file (and, by ReadFile, which file).
    const auto invalidHeader = [](std::size_t Offset) {
        return EMidiFileError(Format(ResStr("Invalid midi header!") + " (at byte %u of the file).", {Offset}));
    };
    const std::size_t size = File.Remaining();
    if (size < 4 || File.ReadBytes(4, "the header id") != "MThd") throw invalidHeader(0);
    if (File.Remaining() < 4 + HeaderDataSize) throw invalidHeader(size);
    const std::uint32_t length = File.ReadBigEndian(4);
    const std::uint32_t format = File.ReadBigEndian(2);
    FMidiHeader.NumberTracks = static_cast<std::int32_t>(File.ReadBigEndian(2));
    FMidiHeader.PulsesPerQuarter = static_cast<std::int32_t>(File.ReadBigEndian(2));
    if (format <= ftMultiAsynch) FMidiHeader.HeaderType = static_cast<TKVHeaderType>(format);
    // A longer header carries fields of later versions of the format; they are passed over.
    if (length > HeaderDataSize) {
        if (length - HeaderDataSize > File.Remaining()) throw invalidHeader(4);
        File.Skip(length - HeaderDataSize, "the header");
    }
}

bool TKVMidiFile::ReadTrack(TMidiChunkReader& File)
{
    const std::string id = File.ReadBytes(static_cast<std::uint32_t>(std::min<std::size_t>(4, File.Remaining())), "a chunk id");
    if (id != "MTrk") return PassOverForeignChunk(File, id);
    const int number = TrackCount() + 1;
    const std::uint32_t length = File.ReadBigEndian(4);
    TMidiChunkReader body = File.ReadChunk(length, Format("track %d", {number}), Format("track chunk %d", {number}));

    auto owned = std::make_unique<TMyMidiTrack>();
    TMyMidiTrack& track = *owned;
    track.SetTrackModified(OnFileModified);
    SetTrack(std::move(owned));
    track.SetTrackIndex(TrackCount() - 1);
    ReadEvents(body, track);
    track.CalcOffEvents();
    return true;
}

// Running status: a byte below $80 where a status may stand repeats the last channel status.
// Meta and system events leave it as it was.
void TKVMidiFile::ReadEvents(TMidiChunkReader& Body, TMyMidiTrack& Track)
{
    const auto trackByte = static_cast<std::uint8_t>(Track.TrackIndex());
    std::uint8_t runningStatus = 0;
    while (!Body.AtEnd()) {
        auto event = std::make_unique<TKVMidiEvent>();
        event->SetTrack(trackByte);
        event->SetDeltaTime(static_cast<std::int32_t>(Body.ReadVarLen()));
        std::uint8_t status = Body.PeekByte();
        if (status >= 0x80)
            Body.ReadByte();
        else if (runningStatus != 0)
            status = runningStatus;
        else
            Body.Fail(Format("data byte $%.2x comes before any status byte", {status}));
        event->SetEvent(status);

        if (status == MetaStatus) {
            event->SetData1(Body.ReadByte());
            event->SetLetter(Body.ReadBytes(Body.ReadVarLen(), "a meta event"));
        } else if (status == SysExStatus || status == SysExEscapeStatus) {
            event->SetLetter(Body.ReadBytes(Body.ReadVarLen(), "a system-exclusive event"));
        } else if (status < 0xF0) {
            runningStatus = status;
            event->SetData1(Body.ReadDataByte());
            if (HasTwoDataBytes(status)) event->SetData2(Body.ReadDataByte());
            const std::uint8_t kind = status & 0xF0;
            if (kind == 0x80 || kind == 0x90) NoteMet(event->Data1());
        }
        Track.PutEvent(std::move(event));
    }
}

void TKVMidiFile::NoteMet(std::uint8_t Note)
{
    FLowNote = std::min(FLowNote, Note);
    FHighNote = std::max(FHighNote, Note);
}

} // namespace kv
