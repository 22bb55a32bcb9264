// Reading songs from Standard MIDI Files: chunks, running status, meta and system-exclusive
// events, variable-length numbers, and files whose bytes cannot be trusted.
#include "midi/kvMidiFile.h"

#include "midi/kvMidiCommon.h"
#include "midi/kvMidiFileBuilder.h"
#include "midi/kvMidiFileError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

using namespace std::string_literals;
using test::Chunk;
using test::Header;
using test::Hex;
using test::OneTrackFile;

struct Ev {
    int status, data1, data2;
    std::string letter;
    std::int32_t start;
    friend bool operator==(const Ev&, const Ev&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Ev& e)
    {
        return out << std::hex << "{" << e.status << " " << e.data1 << " " << e.data2 << " '" << e.letter << "' @"
                   << std::dec << e.start << "}";
    }
};

std::vector<Ev> Events(const TMyMidiTrack& track)
{
    std::vector<Ev> events;
    for (int i = 0; i < track.TrackEventCount(); ++i) {
        const TKVMidiEvent* e = track.GetEvent(i);
        events.push_back({e->Event(), e->Data1(), e->Data2(), e->Letter(), e->StartTime()});
    }
    return events;
}

void Read(TKVMidiFile& song, const std::string& bytes)
{
    TMemoryStream stream;
    test::Fill(stream, bytes);
    song.ReadFile(stream);
}

TEST(MidiFileReadTest, HeaderFields)
{
    struct Case {
        int format;
        TKVHeaderType expected;
    };
    for (const Case& c : {Case{0, ftSingle}, Case{1, ftMultiSynch}, Case{2, ftMultiAsynch}, Case{7, ftMultiAsynch}}) {
        SCOPED_TRACE(c.format);
        TKVMidiFile song(nullptr);
        song.SetMidiHeader({ftMultiAsynch, 0, 0}); // a format above 2 leaves the type as it was
        Read(song, Header(c.format, 3, 96) + Chunk("MTrk", "") + Chunk("MTrk", "") + Chunk("MTrk", ""));
        EXPECT_EQ(song.MidiHeader(), (TKVMidiHeader{c.expected, 3, 96}));
        EXPECT_EQ(song.TrackCount(), 3);
    }
}

TEST(MidiFileReadTest, FullSixteenBitHeaderNumbers)
{
    TKVMidiFile song(nullptr);
    Read(song, Header(1, 0xFFFF, 0xE728)); // a time-code division is kept as a number
    EXPECT_EQ(song.MidiHeader(), (TKVMidiHeader{ftMultiSynch, 65535, 0xE728}));
    EXPECT_EQ(song.TrackCount(), 0) << "the track count of the header does not count chunks";
}

TEST(MidiFileReadTest, LongerHeaderIsPassedOver)
{
    TKVMidiFile song(nullptr);
    Read(song, Chunk("MThd", Hex("00 01 00 01 00 60 AA BB")) + Chunk("MTrk", Hex("00 FF 2F 00")));
    EXPECT_EQ(song.MidiHeader(), (TKVMidiHeader{ftMultiSynch, 1, 96}));
    ASSERT_EQ(song.TrackCount(), 1);
    EXPECT_EQ(song.GetTrack(0)->TrackEventCount(), 1);
}

TEST(MidiFileReadTest, RunningStatusAndEventKinds)
{
    TKVMidiFile song(nullptr);
    Read(song, OneTrackFile(Hex("00 90 3C 40 10 3C 00"       // note-on, then running status: a note-off
                                "05 FF 01 02 68 69 02 3E 50" // running status survives a meta event
                                "00 C3 05 01 06"             // program change: one data byte each
                                "00 E1 00 40 00 D2 11 00 A4 3E 22 00 B5 07 64"
                                "03 80 3E 00 00 FF 2F 00")));
    ASSERT_EQ(song.TrackCount(), 1);
    const std::vector<Ev> expected = {
        {0x90, 60, 64, "", 0},    {0x90, 60, 0, "", 16},   {0xFF, 0x01, 0, "hi", 21}, {0x90, 62, 80, "", 23},
        {0xC3, 5, 0, "", 23},     {0xC3, 6, 0, "", 24},    {0xE1, 0, 0x40, "", 24},   {0xD2, 0x11, 0, "", 24},
        {0xA4, 0x3E, 0x22, "", 24}, {0xB5, 7, 100, "", 24}, {0x80, 62, 0, "", 27},    {0xFF, 0x2F, 0, "", 27},
    };
    EXPECT_EQ(Events(*song.GetTrack(0)), expected);
    EXPECT_EQ(song.GetTrack(0)->TrackKeyword(), "hi");
    EXPECT_EQ(song.GetTrack(0)->GetEvent(0)->RelatedEvent(), song.GetTrack(0)->GetEvent(1));
    EXPECT_EQ(song.GetLowNote(), 60);
    EXPECT_EQ(song.GetHighNote(), 62);
}

TEST(MidiFileReadTest, VariableLengthDeltaTimes)
{
    struct Case {
        const char* bytes;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"00", 0},          {"7F", 0x7F},          {"81 00", 0x80},         {"FF 7F", 0x3FFF},
        {"81 80 00", 0x4000}, {"81 80 80 00", 2097152}, {"FF FF FF 7F", 0x0FFFFFFF}, {"81 80 80 80 00", 0x10000000},
        {"8F FF FF FF 7F", 0xFFFFFFFF},
        {"80 80 80 80 80 80 01", 1}, // leading empty groups are allowed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        TKVMidiFile song(nullptr);
        Read(song, OneTrackFile(Hex(c.bytes) + Hex("FF 06 00")));
        const TKVMidiEvent* marker = song.GetTrack(0)->GetEvent(0);
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(static_cast<std::uint32_t>(marker->DeltaTime()), c.value);
        EXPECT_EQ(static_cast<std::uint32_t>(marker->StartTime()), c.value);
    }
}

TEST(MidiFileReadTest, SystemExclusiveEventsTakeTheirTimeAndKeepTheirBytes)
{
    TKVMidiFile song(nullptr);
    Read(song, OneTrackFile(Hex("00 F0 05 7E 7F 09 01 F7"   // GM reset at 0
                                "0A F0 03 43 12 00"         // a message in packets: start at 10
                                "05 F7 02 34 F7"            // and its continuation at 15
                                "04 90 3C 40 60 80 3C 00"))); // the note keeps its place: 19 to 115
    const std::vector<Ev> expected = {
        {0xF0, 0, 0, Hex("7E 7F 09 01 F7"), 0}, {0xF0, 0, 0, Hex("43 12 00"), 10}, {0xF7, 0, 0, Hex("34 F7"), 15},
        {0x90, 60, 64, "", 19},                 {0x80, 60, 0, "", 115},
    };
    EXPECT_EQ(Events(*song.GetTrack(0)), expected);
    EXPECT_EQ(song.GetTrack(0)->GetEvent(3)->TimeLength(), 96);
}

TEST(MidiFileReadTest, MetaDataAreRawBytes)
{
    TKVMidiFile song(nullptr);
    Read(song, OneTrackFile(Hex("00 FF 51 03 04 93 E0 00 FF 59 02 FD 01 00 FF 03 03 C9 80 FF")));
    const TMyMidiTrack& track = *song.GetTrack(0);
    EXPECT_EQ(track.GetEvent(0)->Letter(), Hex("04 93 E0"));
    EXPECT_EQ(TempoToBpm(track.GetEvent(0)->Letter()), 200);
    EXPECT_EQ(track.GetEvent(1)->Letter(), Hex("FD 01"));
    EXPECT_EQ(track.TrackName(), Hex("C9 80 FF"));
}

TEST(MidiFileReadTest, ChunksThatAreNoTracks)
{
    const std::string track = Chunk("MTrk", Hex("00 FF 2F 00"));
    struct Case {
        const char* name;
        std::string bytes;
        int tracks;
    };
    const Case cases[] = {
        {"empty track chunk", Header(0, 1, 96) + Chunk("MTrk", ""), 1},
        {"foreign chunk between tracks is passed over", Header(1, 2, 96) + track + Chunk("XFIH", "abc") + track, 2},
        {"second header ends the reading", Header(1, 2, 96) + track + Header(0, 1, 96) + track, 1},
        {"trailing bytes that are no chunk", Header(1, 1, 96) + track + "\0\0\0"s, 1},
        {"foreign chunk longer than the file ends the reading", Header(1, 1, 96) + track + "JUNK\xFF\xFF\xFF\xFF", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKVMidiFile song(nullptr);
        Read(song, c.bytes);
        EXPECT_EQ(song.TrackCount(), c.tracks);
        EXPECT_TRUE(song.FileReady());
        for (int i = 0; i < song.TrackCount(); ++i) EXPECT_EQ(song.GetTrack(i)->TrackIndex(), i);
    }
}

TEST(MidiFileReadTest, BrokenFilesGiveClearErrors)
{
    const std::string header = Header(1, 1, 96);
    struct Case {
        const char* name;
        std::string bytes;
        const char* message; // a part of the message
        int tracksLeft;
    };
    const Case cases[] = {
        {"empty file", "", "Invalid midi header! (at byte 0 of the file).", 0},
        {"MThd alone", "MThd", "Invalid midi header! (at byte 4 of the file).", 0},
        {"header cut short", Hex("4D 54 68 64 00 00 00 06 00 01 00"), "Invalid midi header! (at byte 11 of the file).", 0},
        {"another id", Chunk("RIFF", Hex("00 01 00 01 00 60")), "Invalid midi header! (at byte 0 of the file).", 0},
        {"header longer than the file", Chunk("MThd", Hex("00 01 00 01 00 60")).replace(7, 1, "\x40"),
         "Invalid midi header! (at byte 4 of the file).", 0},
        {"track chunk header cut short", header + "MTrk" + Hex("00 00"), "the file: a number of 4 bytes runs past", 0},
        {"track longer than the bytes left", header + "MTrk" + test::BigEndian32(100) + Hex("00 FF 2F 00"),
         "track chunk 1 of 100 bytes runs past the end (4 bytes left) (at byte 22", 0},
        {"huge track length", header + "MTrk" + Hex("FF FF FF FF 00"), "track chunk 1 of 4294967295 bytes", 0},
        {"number without end", OneTrackFile(Hex("00 FF 2F 00 80 80")), "track 1: a variable-length number does not end", 1},
        {"meta data past the chunk", OneTrackFile(Hex("00 FF 01 05 41")),
         "track 1: a meta event of 5 bytes runs past the end (1 bytes left) (at byte 26", 1},
        {"meta length without end", OneTrackFile(Hex("00 FF 01 85")), "variable-length number does not end", 1},
        {"sysex past the chunk", OneTrackFile(Hex("00 F0 FF FF FF 7F 01")),
         "a system-exclusive event of 268435455 bytes runs past", 1},
        {"event cut off after its delta time", OneTrackFile(Hex("00 90 3C 40 10")), "an event is cut off", 1},
        {"channel data cut off", OneTrackFile(Hex("00 90 3C")), "an event is cut off", 1},
        {"meta type cut off", OneTrackFile(Hex("00 FF")), "an event is cut off", 1},
        {"status where data belongs", OneTrackFile(Hex("00 90 3C 90")), "byte $90 stands where a data byte belongs", 1},
        {"data byte before any status", OneTrackFile(Hex("00 3C 40")), "data byte $3C comes before any status byte", 1},
        {"second track broken", header + Chunk("MTrk", "") + Chunk("MTrk", Hex("00 C0")), "track 2:", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKVMidiFile song(nullptr);
        song.CreateTrack("old", -1, -1, "", "");
        std::vector<bool> modified;
        song.OnFileModified = [&](bool value) { modified.push_back(value); };
        try {
            Read(song, c.bytes);
            ADD_FAILURE() << "no exception";
        } catch (const EMidiFileError& e) {
            EXPECT_NE(e.Message().find(c.message), std::string::npos) << e.Message();
        }
        EXPECT_EQ(song.TrackCount(), c.tracksLeft);
        EXPECT_FALSE(song.FileReady());
        EXPECT_EQ(modified, std::vector<bool>{});
    }
}

TEST(MidiFileReadTest, ReadingReplacesTheSongAndReportsIt)
{
    TKVMidiFile song(nullptr);
    song.CreateTrack("old", -1, -1, "", "");
    std::vector<bool> modified;
    song.OnFileModified = [&](bool value) { modified.push_back(value); };
    // Two tracks; the second holds a note-on that never ends and is dropped.
    Read(song, Header(1, 2, 96) + Chunk("MTrk", Hex("00 FF 03 01 41")) +
                   Chunk("MTrk", Hex("00 91 50 40 00 91 30 40 10 81 30 00")));
    ASSERT_EQ(song.TrackCount(), 2);
    EXPECT_EQ(song.GetTrack(0)->TrackName(), "A");
    const TMyMidiTrack& second = *song.GetTrack(1);
    EXPECT_EQ(Events(second), (std::vector<Ev>{{0x91, 0x30, 0x40, "", 0}, {0x81, 0x30, 0, "", 16}}));
    EXPECT_EQ(second.GetEvent(0)->Track(), 1);
    EXPECT_EQ(second.TrackIndex(), 1);
    EXPECT_TRUE(song.FileReady());
    EXPECT_EQ(modified, (std::vector<bool>{true, false})) << "the dropped note-on, then the read";
    // The lowest and highest notes are those met in the file, the dropped note included.
    EXPECT_EQ(song.GetLowNote(), 0x30);
    EXPECT_EQ(song.GetHighNote(), 0x50);

    Read(song, OneTrackFile(Hex("00 FF 2F 00")));
    EXPECT_EQ(song.GetLowNote(), 255) << "a song without notes";
    EXPECT_EQ(song.GetHighNote(), 0);
}

TEST(MidiFileReadTest, OveFileIsAnEmptySong)
{
    TKVMidiFile song(nullptr);
    song.SetFileName("song.ove");
    song.CreateTrack("old", -1, -1, "", "");
    Read(song, OneTrackFile(Hex("00 FF 2F 00")));
    EXPECT_EQ(song.TrackCount(), 0);
    EXPECT_TRUE(song.FileReady());
}

} // namespace
} // namespace kv
