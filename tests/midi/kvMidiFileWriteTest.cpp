// Writing songs as Standard MIDI Files, and the round trip through a file on disk.
#include "midi/kvMidiFile.h"

#include "midi/kvMidiFileBuilder.h"
#include "midi/kvMidiFileError.h"
#include "midi/kvMidiTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kv {
namespace {

using test::Chunk;
using test::Header;
using test::Hex;
using test::OneTrackFile;

std::string Written(TKVMidiFile& song)
{
    TMemoryStream stream;
    song.WriteFile(stream);
    return test::Contents(stream);
}

std::string ReadAndWrite(const std::string& bytes)
{
    TKVMidiFile song(nullptr);
    TMemoryStream stream;
    test::Fill(stream, bytes);
    song.ReadFile(stream);
    return Written(song);
}

// A song of one track holding the event.
std::unique_ptr<TKVMidiFile> SongWith(std::unique_ptr<TKVMidiEvent> event)
{
    auto song = std::make_unique<TKVMidiFile>(nullptr);
    song->SetMidiHeader({ftMultiSynch, 1, 96});
    auto track = std::make_unique<TMyMidiTrack>();
    track->PutEvent(std::move(event));
    song->SetTrack(std::move(track));
    return song;
}

TEST(MidiFileWriteTest, ReadFilesComeBackByteForByte)
{
    const char* bodies[] = {
        "00 90 3C 40 10 90 3C 00 00 FF 2F 00",
        "00 FF 51 03 04 93 E0 00 FF 58 04 04 02 18 08 00 FF 59 02 FD 01 00 FF 03 03 C9 80 FF",
        "00 F0 05 7E 7F 09 01 F7 0A F0 03 43 12 00 05 F7 02 34 F7 04 C0 05 00 D0 11 00 E0 00 40",
        "00 A4 3E 22 00 B5 07 64 81 00 FF 7F 00 00 FF 60 01 00", // sequencer-specific, an unknown meta type
    };
    for (const char* body : bodies) {
        SCOPED_TRACE(body);
        const std::string file = Header(2, 1, 480) + Chunk("MTrk", Hex(body));
        EXPECT_EQ(ReadAndWrite(file), file);
    }
    const std::string threeTracks = Header(1, 3, 96) + Chunk("MTrk", "") + Chunk("MTrk", "") + Chunk("MTrk", "");
    EXPECT_EQ(ReadAndWrite(threeTracks), threeTracks);
}

TEST(MidiFileWriteTest, NoRunningStatusOnOutput)
{
    EXPECT_EQ(ReadAndWrite(OneTrackFile(Hex("00 90 3C 40 10 3C 00"))), OneTrackFile(Hex("00 90 3C 40 10 90 3C 00")));
}

TEST(MidiFileWriteTest, DeltaTimesAsVariableLengthNumbers)
{
    struct Case {
        std::uint32_t delta;
        const char* bytes;
    };
    const Case cases[] = {
        {0, "00"},           {0x7F, "7F"},        {128, "81 00"},           {0x3FFF, "FF 7F"},
        {0x4000, "81 80 00"}, {2097152, "81 80 80 00"}, {0x0FFFFFFF, "FF FF FF 7F"}, {0x10000000, "81 80 80 80 00"},
        {0xFFFFFFFF, "8F FF FF FF 7F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        auto song = SongWith(test::MakeEvent(0xFF, 0x06, 0, 0, static_cast<std::int32_t>(c.delta)));
        const std::string file = OneTrackFile(Hex(c.bytes) + Hex("FF 06 00"));
        EXPECT_EQ(Written(*song), file);
        EXPECT_EQ(ReadAndWrite(file), file);
    }
}

TEST(MidiFileWriteTest, EventsAsTheSongHoldsThem)
{
    struct Case {
        const char* name;
        int status, data1, data2;
        std::string letter;
        const char* body;
    };
    const Case cases[] = {
        {"track name", 0xFF, 0x03, 0, "Record Track", "05 FF 03 0C 52 65 63 6F 72 64 20 54 72 61 63 6B"},
        {"system-exclusive message", 0xF0, 0, 0, Hex("7E 7F 09 01 F7"), "05 F0 05 7E 7F 09 01 F7"},
        {"escape", 0xF7, 0, 0, Hex("F8"), "05 F7 01 F8"},
        {"other system status: no data", 0xFE, 1, 2, "", "05 FE"},
        {"program change: one data byte", 0xC1, 5, 9, "", "05 C1 05"},
        {"data bytes keep 7 bits", 0x90, 0xBC, 0xC0, "", "05 90 3C 40"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto event = test::MakeEvent(c.status, c.data1, c.data2, 0, 5);
        event->SetLetter(c.letter);
        EXPECT_EQ(Written(*SongWith(std::move(event))), OneTrackFile(Hex(c.body)));
    }
}

TEST(MidiFileWriteTest, EventWithoutStatusPassesItsTimeOn)
{
    TKVMidiFile song(nullptr);
    auto track = std::make_unique<TMyMidiTrack>();
    track->PutEvent(test::MakeEvent(0x00, 0x3C, 0x40, 0, 7));
    track->PutEvent(test::MakeEvent(0x90, 0x3C, 0x40, 0, 3));
    song.SetTrack(std::move(track));
    EXPECT_EQ(Written(song), Header(0, 0, 0) + Chunk("MTrk", Hex("0A 90 3C 40")));
}

TEST(MidiFileWriteTest, WritingReportsTheFileReady)
{
    TKVMidiFile song(nullptr);
    song.CreateTrack("a", -1, -1, "", "");
    std::vector<bool> modified;
    song.OnFileModified = [&](bool value) { modified.push_back(value); };
    Written(song);
    EXPECT_TRUE(song.FileReady());
    EXPECT_EQ(modified, std::vector<bool>{false});
}

// A body of the given size: one system-exclusive event whose data fill it.
std::unique_ptr<TKVMidiFile> SongWithBodyOf(std::size_t size)
{
    auto event = test::MakeEvent(0xF0, 0, 0, 0, 0);
    event->SetLetter(std::string(size - 6, '\x11')); // delta, status, 4-byte length, data
    return SongWith(std::move(event));
}

TEST(MidiFileWriteTest, TrackSizeLimit)
{
    const std::size_t limit = 16777216;
    auto song = SongWithBodyOf(limit);
    const std::string bytes = Written(*song);
    ASSERT_EQ(bytes.size(), 14 + 8 + limit);
    EXPECT_EQ(bytes.substr(14, 8), "MTrk" + test::BigEndian32(limit));

    TKVMidiFile reread(nullptr);
    TMemoryStream stream;
    test::Fill(stream, bytes);
    reread.ReadFile(stream);
    EXPECT_EQ(reread.GetTrack(0)->GetEvent(0)->Letter().size(), limit - 6);

    const auto folder = std::filesystem::path(testing::TempDir()) / "kvMidiFileWriteTest";
    std::filesystem::create_directories(folder);
    const std::string name = (folder / "overflow.mid").string();
    std::ofstream(name, std::ios::binary) << "old";
    auto tooLong = SongWithBodyOf(limit + 1);
    tooLong->SetFileName(name);
    try {
        tooLong->WriteFile();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Overflow track size: 16777217!");
    }
    EXPECT_FALSE(tooLong->FileReady());
    std::ifstream in(name, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old") << "the file on disk is untouched";
}

TEST(MidiFileWriteTest, FilesOnDisk)
{
    const auto folder = std::filesystem::path(testing::TempDir()) / "kvMidiFileWriteTest";
    std::filesystem::create_directories(folder);
    const std::string bytes = OneTrackFile(Hex("00 90 3C 40 60 80 3C 00 00 FF 2F 00"));
    for (const char* name : {"song.mid", "song.MIDI", "song.kar"}) {
        SCOPED_TRACE(name);
        const std::string path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        TKVMidiFile song(nullptr);
        song.SetFileType(feOve);
        song.SetFileName(path);
        song.ReadFile();
        EXPECT_EQ(song.GetTrack(0)->TrackEventCount(), 3);
        std::filesystem::remove(path);
        song.WriteFile();
        std::ifstream in(path, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes);
    }

    // A damaged track and a damaged header are told alike: the file, what, and where.
    TKVMidiFile song(nullptr);
    const std::string broken = (folder / "broken.mid").string();
    const std::pair<std::string, std::string> damaged[] = {
        {OneTrackFile(Hex("00 90 3C")), "track 1: an event is cut off at the end (at byte 25 of the file)."},
        {"RIFF....", "Invalid midi header! (at byte 0 of the file)."},
    };
    for (const auto& [content, what] : damaged) {
        std::ofstream(broken, std::ios::binary) << content;
        song.SetFileName(broken);
        try {
            song.ReadFile();
            ADD_FAILURE() << "no exception";
        } catch (const EMidiFileError& e) {
            EXPECT_EQ(e.Message(), "Cannot read \"" + broken + "\": " + what);
        }
    }
    song.SetFileName((folder / "missing.mid").string());
    EXPECT_THROW(song.ReadFile(), EFOpenError);
}

TEST(MidiFileWriteTest, OveFileIsWrittenEmpty)
{
    const auto folder = std::filesystem::path(testing::TempDir()) / "kvMidiFileWriteTest";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "song.ove").string();
    std::ofstream(path, std::ios::binary) << "old contents";
    TKVMidiFile song(nullptr);
    song.SetFileName(path);
    song.CreateTrack("a", -1, -1, "", "");
    song.WriteFile();
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_TRUE(song.FileReady());
}

} // namespace
} // namespace kv
