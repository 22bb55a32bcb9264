// The main window's rules that need no window: read-out texts, hands by track count, dropped
// file names, keypad keys, and the song a recording starts from.
#include "app/uPlaying.h"
#include "app/uRecordSettings.h"
#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "midi/kvMidiCommon.h"
#include "midi/kvMidiFileBuilder.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(PlayingRules, ReadOutTexts)
{
    for (const auto& [value, text] : std::vector<std::pair<int, std::string>>{{0, "0"}, {1, "+1"}, {12, "+12"}, {-5, "-5"}, {-12, "-12"}})
        EXPECT_EQ(KeyText(value), text) << value;
    EXPECT_EQ(SpeedRatioText(100), "100%");
    EXPECT_EQ(SpeedRatioText(1), "1%");
    struct Case {
        int position, volume;
        const char* text;
    };
    for (const Case c : {Case{65535, 65535, "100%"}, {32768, 65535, "50%"}, {0, 65535, "0%"}, {6553, 65535, "10%"}, {5, 0, "0%"}})
        EXPECT_EQ(VolumeText(c.position, c.volume), c.text) << c.position << "/" << c.volume;
}

TEST(PlayingRules, HandsFollowTheTrackCount)
{
    const std::vector<std::vector<TKVTrackHand>> expected = {
        {thLeft},
        {thRight, thLeft},
        {thLeft, thRight, thLeft},
        {thLeft, thRight, thLeft, thLeft},
        {thLeft, thRight, thLeft, thLeft, thLeft},
    };
    for (std::size_t count = 1; count <= expected.size(); ++count)
        for (int track = 0; track < static_cast<int>(count); ++track)
            EXPECT_EQ(HandForTrack(static_cast<int>(count), track, thLeft), expected[count - 1][track]) << count << ":" << track;
    // Tracks the rule does not name keep the hand they hold.
    EXPECT_EQ(HandForTrack(4, 3, thRight), thRight);
    EXPECT_EQ(HandForTrack(1, 0, thRight), thRight);
}

TEST(PlayingRules, OnlySongsAreOpenedWhenDropped)
{
    for (const char* name : {"a.mid", "C:\\x\\Song.MID", "b.midi", "k.Kar"}) EXPECT_TRUE(IsSongFileName(name)) << name;
    for (const char* name : {"a.txt", "mid", "a.mid.txt", "C:\\x.mid\\readme", "a.mi", ".midx", ""})
        EXPECT_FALSE(IsSongFileName(name)) << name;
}

TEST(PlayingRules, KeypadKeysReadWithoutNumLockBecomeTheKeypadKeys)
{
    const std::vector<std::pair<int, int>> table = {{12, 101}, {33, 105}, {34, 99}, {35, 97}, {36, 103}, {37, 100},
                                                    {38, 104}, {39, 102}, {40, 98}, {45, 96},  {46, 110}};
    for (const auto& [read, becomes] : table) EXPECT_EQ(TranslateNumpadKey(static_cast<std::uint16_t>(read)), becomes) << read;
    for (int other : {0, 13, 32, 41, 65, 104, 110}) EXPECT_EQ(TranslateNumpadKey(static_cast<std::uint16_t>(other)), other);
}

TEST(PlayingRules, ASongStartsAtTheTempoAndMeterOfItsEventsAtTickZero)
{
    struct Case {
        const char* conductor;
        const char* notes;
        std::int32_t speed;
        const char* meter;
    };
    // Tempo 400000 microseconds a quarter note is 150 beats per minute; 500000 is 120; 0 converts
    // to nothing. Events after tick 0 are not in force at the start.
    for (const Case& c : {Case{"00 FF 51 03 06 1A 80 00 FF 58 04 03 02 18 08", "", 150, "3/4"},
                          Case{"", "", 120, "4/4"},
                          Case{"00 FF 51 03 06 1A 80", "00 FF 51 03 07 A1 20", 120, "4/4"},
                          Case{"00 FF 51 03 00 00 00", "", 120, "4/4"},
                          Case{"10 FF 51 03 06 1A 80 00 FF 58 04 06 03 18 08", "", 120, "4/4"}}) {
        const std::string bytes = test::Header(1, 2, 96) + test::Chunk("MTrk", test::Hex(std::string(c.conductor) + " 00 FF 2F 00")) +
                                  test::Chunk("MTrk", test::Hex(std::string(c.notes) + " 00 FF 2F 00"));
        TMemoryStream stream;
        test::Fill(stream, bytes);
        TKVMidiFile song(nullptr);
        song.ReadFile(stream);
        const TKVSongStart start = SongStart(song);
        EXPECT_EQ(start.Speed, c.speed) << c.conductor << " | " << c.notes;
        EXPECT_EQ(start.Meter, c.meter) << c.conductor << " | " << c.notes;
    }
}

TEST(PlayingRules, ASystemExclusiveEventGoesOutWithItsStatusAnEscapeWithoutIt)
{
    TKVMidiEvent event;
    event.SetEvent(0xF0);
    event.SetLetter(std::string("\x7E\x7F\x09\x01\xF7", 5));
    EXPECT_TRUE(IsSysExEvent(event.Event()));
    EXPECT_EQ(SysExMessage(event), std::string("\xF0\x7E\x7F\x09\x01\xF7", 6));
    event.SetEvent(0xF7);
    event.SetLetter(std::string("\xF3\x01", 2));
    EXPECT_EQ(SysExMessage(event), std::string("\xF3\x01", 2));
    EXPECT_FALSE(IsSysExEvent(0xFF));
    EXPECT_FALSE(IsSysExEvent(0xB0));
}

TEST(RecordSettings, TextsThatAreNoIntegerKeepThePreviousValue)
{
    for (const auto& [text, value] : std::vector<std::pair<std::string, int>>{
             {"960", 960}, {"-3", -3}, {"0", 0}, {"", 7}, {"12a", 7}, {" 5", 7}, {"abc", 7}, {"99999999999", 7}})
        EXPECT_EQ(IntOrPrevious(text, 7), value) << text;
}

TEST(RecordSettings, ValuesNoSongFileCanCarryAreRefused)
{
    TKVMidiFile song(nullptr);
    TRecordSettings settings;
    EXPECT_NO_THROW(CheckRecordSettings(settings, song));
    // The division holds 15 bits, a tempo 24 bits of microseconds per quarter note.
    struct Case {
        int ppq, speed;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {1, 120, nullptr},
        {32767, 120, nullptr},
        {480, 4, nullptr},
        {480, 60000000, nullptr},
        {0, 120, "Pulses per quarter note must lie within 1..32767, not 0."},
        {-480, 120, "Pulses per quarter note must lie within 1..32767, not -480."},
        {32768, 120, "Pulses per quarter note must lie within 1..32767, not 32768."},
        {65536, 120, "Pulses per quarter note must lie within 1..32767, not 65536."},
        {480, 0, "Speed must lie within 4..60000000, not 0."},
        {480, -1, "Speed must lie within 4..60000000, not -1."},
        {480, 3, "Speed must lie within 4..60000000, not 3."},
        {480, 60000001, "Speed must lie within 4..60000000, not 60000001."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ppq) + " " + std::to_string(c.speed));
        settings.PPQ = c.ppq;
        settings.Speed = c.speed;
        if (!c.message) {
            EXPECT_NO_THROW(CheckRecordSettings(settings, song));
            // What is accepted comes back from the file as it was given.
            TKVMidiFile recorded(nullptr);
            PrepareRecordSong(recorded, settings);
            TMemoryStream bytes;
            recorded.WriteFile(bytes);
            TKVMidiFile back(nullptr);
            back.ReadFile(bytes);
            EXPECT_EQ(back.MidiHeader().PulsesPerQuarter, c.ppq);
            EXPECT_EQ(TempoToBpm(back.GetTrack(0)->GetEvent(3)->Letter()), c.speed);
            continue;
        }
        try {
            CheckRecordSettings(settings, song);
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    // A track added to a song takes the song's resolution, which must be usable.
    settings.NewFile = false;
    EXPECT_THROW(CheckRecordSettings(settings, song), Exception);
    song.CreateHeader(96, true);
    EXPECT_NO_THROW(CheckRecordSettings(settings, song));
}

std::vector<std::string> Events(const TMyMidiTrack& track)
{
    std::vector<std::string> events;
    for (int i = 0; i < track.TrackEventCount(); ++i) {
        const TKVMidiEvent* e = track.GetEvent(i);
        events.push_back(std::to_string(e->Event()) + "/" + std::to_string(e->Data1()) + "/" + std::to_string(e->Letter().size()));
    }
    return events;
}

TEST(RecordSettings, ANewSongGetsAConductorTrackAndAnEmptyRecordTrack)
{
    TKVMidiFile song(nullptr);
    song.CreateTrack("Old", 0, 100, "", "");
    TRecordSettings settings;
    settings.Channel = 15;
    PrepareRecordSong(song, settings);
    ASSERT_EQ(song.TrackCount(), 2);
    EXPECT_EQ(song.MidiHeader().HeaderType, ftMultiSynch);
    EXPECT_EQ(song.MidiHeader().PulsesPerQuarter, 480);
    EXPECT_EQ(song.MidiHeader().NumberTracks, 2);
    // Name, time signature, key signature, tempo, copyright notice, end of track.
    const std::vector<std::string> conductor = {"255/3/19", "255/88/4", "255/89/2", "255/81/3", "255/2/" + std::to_string(song.GetTrack(0)->GetEvent(4)->Letter().size()), "255/47/0"};
    EXPECT_EQ(Events(*song.GetTrack(0)), conductor);
    EXPECT_EQ(song.GetTrack(0)->GetEvent(0)->Letter(), RecordFileTrackName);
    EXPECT_EQ(Events(*song.GetTrack(1)), (std::vector<std::string>{"255/3/12", std::to_string(0xCF) + "/0/0"}));
    EXPECT_EQ(song.GetTrack(1)->GetEvent(0)->Letter(), "Record Track");
    // The written song reads back with the same tracks.
    TMemoryStream bytes;
    song.WriteFile(bytes);
    TKVMidiFile back(nullptr);
    back.ReadFile(bytes);
    ASSERT_EQ(back.TrackCount(), 2);
    EXPECT_EQ(back.MidiHeader().PulsesPerQuarter, 480);
}

TEST(RecordSettings, ATrackAddedToASongKeepsItsResolutionAndAFormatThatHoldsSeveralTracks)
{
    // Format 0 holds one track only: with the recorded track the song becomes format 1.
    const std::pair<TKVHeaderType, TKVHeaderType> formats[] = {
        {ftSingle, ftMultiSynch}, {ftMultiSynch, ftMultiSynch}, {ftMultiAsynch, ftMultiAsynch}};
    for (const auto& [before, after] : formats) {
        SCOPED_TRACE(static_cast<int>(before));
        TKVMidiFile song(nullptr);
        const int tracks = before == ftSingle ? 1 : 3;
        for (int i = 0; i < tracks; ++i) song.CreateTrack("T" + std::to_string(i), i, -1, "", "");
        song.SetMidiHeader({before, tracks, 96});
        TRecordSettings settings;
        settings.NewFile = false;
        settings.PPQ = 960;
        settings.Channel = 2;
        PrepareRecordSong(song, settings);
        ASSERT_EQ(song.TrackCount(), tracks + 1);
        EXPECT_EQ(song.MidiHeader().HeaderType, after);
        EXPECT_EQ(song.MidiHeader().PulsesPerQuarter, 96);
        EXPECT_EQ(song.MidiHeader().NumberTracks, tracks + 1);
        EXPECT_EQ(Events(*song.GetTrack(tracks)), (std::vector<std::string>{"255/3/12", std::to_string(0xC2) + "/0/0"}));
    }
}

} // namespace
} // namespace kv
