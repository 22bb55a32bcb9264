// The song: tracks, header, building a new track, file name and type.
#include "midi/kvMidiFile.h"

#include "midi/kvMidiTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

using test::Bytes;
using test::MakeEvent;

TEST(MidiFileTest, EmptySong)
{
    TKVMidiFile song(nullptr);
    EXPECT_EQ(song.ClassName(), "TKVMidiFile");
    EXPECT_EQ(song.TrackCount(), 0);
    EXPECT_EQ(song.MidiLength(), -1);
    EXPECT_FALSE(song.FileReady());
    EXPECT_EQ(song.FileType(), feMidi);
    EXPECT_EQ(song.GetLowNote(), 0);
    EXPECT_EQ(song.GetHighNote(), 0);
    for (int index : {-1, 0, 1}) EXPECT_EQ(song.GetTrack(index), nullptr) << index;
}

TEST(MidiFileTest, OwnedByItsComponentOwner)
{
    TComponent owner(nullptr);
    auto* song = new TKVMidiFile(&owner); // freed by its owner, with its tracks
    song->CreateTrack("x", 0, 120, "4/4", "0/0");
    EXPECT_EQ(owner.ComponentCount(), 1);
}

TEST(MidiFileTest, MidiLengthIsTheLongestTrack)
{
    TKVMidiFile song(nullptr);
    for (std::int32_t lastStart : {300, 900, 0}) {
        auto track = std::make_unique<TMyMidiTrack>();
        track->PutEvent(MakeEvent(0x90, 60, 1, 0, lastStart));
        song.SetTrack(std::move(track));
    }
    song.SetTrack(std::make_unique<TMyMidiTrack>());
    EXPECT_EQ(song.TrackCount(), 4);
    EXPECT_EQ(song.MidiLength(), 900);
    EXPECT_EQ(song.GetTrack(1)->TrackLength(), 900);
    EXPECT_EQ(song.GetTrack(4), nullptr);
}

std::vector<std::pair<int, std::string>> StatusesAndLetters(const TMyMidiTrack& track)
{
    std::vector<std::pair<int, std::string>> events;
    for (int i = 0; i < track.TrackEventCount(); ++i) {
        const TKVMidiEvent* e = track.GetEvent(i);
        EXPECT_EQ(e->StartTime(), 0);
        events.emplace_back(e->Event() == 0xFF ? 0xFF00 | e->Data1() : e->Event(), e->Letter());
    }
    return events;
}

TEST(MidiFileTest, CreateTrack)
{
    using Events = std::vector<std::pair<int, std::string>>;
    struct Case {
        const char* name;
        int channel, speed;
        const char* meter;
        const char* key;
        Events events;
    };
    const Case cases[] = {
        {"Record Track", 0, -1, "", "", Events{{0xFF03, "Record Track"}, {0xC0, ""}}},
        {"Tavrona Record File", -1, 120, "3/4", "-2/1",
         Events{{0xFF03, "Tavrona Record File"},
                {0xFF58, Bytes({3, 2, 0, 8})},
                {0xFF59, Bytes({0xFE, 1})},
                {0xFF51, Bytes({0x07, 0xA1, 0x20})}}},
        {"", 9, -1, "", "", Events{{0xC9, ""}}},
        // A speed of 0 fails: the list ends after the earlier events.
        {"Name", 0, 0, "4/4", "1/0", Events{{0xFF03, "Name"}, {0xFF58, Bytes({4, 2, 0, 8})}, {0xFF59, Bytes({1, 0})}}},
        {"", 0, 0, "", "", Events{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKVMidiFile song(nullptr);
        song.SetTrack(std::make_unique<TMyMidiTrack>());
        song.CreateTrack(c.name, c.channel, c.speed, c.meter, c.key);
        ASSERT_EQ(song.TrackCount(), 2);
        const TMyMidiTrack* track = song.GetTrack(1);
        EXPECT_EQ(StatusesAndLetters(*track), c.events);
        EXPECT_EQ(track->TrackIndex(), 0);
        EXPECT_FALSE(track->TrackModified());
    }
}

TEST(MidiFileTest, CreateHeader)
{
    TKVMidiFile song(nullptr);
    song.SetMidiHeader({ftSingle, 9, 96});
    song.CreateTrack("a", -1, -1, "", "");
    song.CreateHeader(480, false);
    EXPECT_EQ(song.MidiHeader(), (TKVMidiHeader{ftSingle, 1, 96}));
    song.CreateTrack("b", -1, -1, "", "");
    song.CreateHeader(480, true);
    EXPECT_EQ(song.MidiHeader(), (TKVMidiHeader{ftMultiSynch, 2, 480}));
}

TEST(MidiFileTest, FileNameChoosesTheFileType)
{
    struct Case {
        const char* name;
        TFileType before;
        TFileType after;
    };
    const Case cases[] = {
        {"song.mid", feOve, feMidi},   {"song.MIDI", feOve, feMidi}, {"a.b/song.KAR", feOve, feMidi},
        {"song.ove", feMidi, feOve},   {"song.OvE", feMidi, feOve},  {"notes.txt", feOve, feOve},
        {"notes.txt", feMidi, feMidi}, {"noext", feOve, feOve},      {"", feOve, feOve},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKVMidiFile song(nullptr);
        song.SetFileName(c.before == feOve ? "x.ove" : "x.mid");
        int changes = 0;
        song.OnFileChanged = [&](TObject* sender) {
            EXPECT_EQ(sender, &song);
            ++changes;
        };
        song.SetFileName(c.name);
        EXPECT_EQ(song.FileName(), c.name);
        EXPECT_EQ(song.FileType(), c.after);
        EXPECT_FALSE(song.FileReady());
        EXPECT_EQ(changes, 1);
        song.SetFileName(c.name);
        EXPECT_EQ(changes, 2) << "raised also when the name is unchanged";
    }
}

TEST(MidiFileTest, ResetFileFreesTheTracksAndKeepsTheRest)
{
    TKVMidiFile song(nullptr);
    song.SetFileName("tune.ove");
    song.SetMidiHeader({ftMultiAsynch, 2, 192});
    song.CreateTrack("one", 0, 100, "", "");
    song.CreateTrack("two", 1, -1, "", "");
    int changes = 0;
    song.OnFileChanged = [&](TObject*) { ++changes; };

    song.ResetFile();

    EXPECT_EQ(song.TrackCount(), 0);
    EXPECT_EQ(song.GetTrack(0), nullptr);
    EXPECT_EQ(song.MidiLength(), -1);
    EXPECT_EQ(song.FileName(), "");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(song.FileType(), feOve);
    EXPECT_EQ(song.MidiHeader(), (TKVMidiHeader{ftMultiAsynch, 2, 192}));

    song.CreateTrack("three", -1, -1, "", "");
    EXPECT_EQ(song.TrackCount(), 1);
}

} // namespace
} // namespace kv
