// Recording: messages land on the song tick at which they were played, from any thread.
#include "midi/kvMidiPlayer.h"
#include "midi/kvMidiTempoMap.h"

#include "midi/kvManualMidiTimer.h"
#include "midi/kvMidiPlayerTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kv {
namespace {

using test::AddTrack;
using test::Tempo;
using test::TManualMidiTimer;

// "start:delta:status:data1" of every event of the track.
std::vector<std::string> Events(const TMyMidiTrack& track)
{
    std::vector<std::string> events;
    for (int i = 0; i < track.TrackEventCount(); ++i) {
        const TKVMidiEvent& e = *track.GetEvent(i);
        events.push_back(std::to_string(e.StartTime()) + ":" + std::to_string(e.DeltaTime()) + ":" +
                         std::to_string(e.Event()) + ":" + std::to_string(e.Data1()));
    }
    return events;
}

class MidiRecorderTest : public ::testing::Test {
protected:
    // A new recording as the main window makes it: a conductor track, then the record track.
    MidiRecorderTest()
    {
        song.CreateTrack("Tavrona Record File", -1, 120, "4/4", "0/0");
        song.CreateTrack("Record Track", 0, -1, "", "");
        song.CreateHeader(480, true);
        player.SetMidiFile(&song);
    }
    TMyMidiTrack& RecordTrack() { return *song.GetTrack(song.TrackCount() - 1); }
    // The song written as a file and read back, as the main window saves it at Stop.
    std::unique_ptr<TKVMidiFile> ReadBack()
    {
        TMemoryStream file;
        song.WriteFile(file);
        auto reread = std::make_unique<TKVMidiFile>(nullptr);
        reread->ReadFile(file);
        return reread;
    }
    // The record track's events after its name and program change.
    std::vector<std::string> Recorded()
    {
        std::vector<std::string> events = Events(RecordTrack());
        events.erase(events.begin(), events.begin() + 2);
        return events;
    }

    TManualMidiTimer timer;
    TKVMidiFile song{nullptr};
    TKVMidiPlayer player{nullptr, timer};
};

TEST_F(MidiRecorderTest, NoteLandsOnTheSongTickItWasPlayedAt)
{
    player.StartRecording();
    player.SetPatches(0, 5);
    timer.Run(1000);
    player.PutMidiShort(0x90, 60, 100);
    timer.Run(500);
    player.PutMidiShort(0x80, 60, 0);
    player.Stop();
    RecordTrack().PutEndEvent();
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"0:0:192:5", "960:960:144:60", "1440:480:128:60", "1440:0:255:47"}));
    EXPECT_EQ(player.CurrentTime(), 0.0) << "the position does not move while recording";

    // Written at Stop and read back, the note stays on the tick it was played at.
    const std::unique_ptr<TKVMidiFile> reread = ReadBack();
    const TMyMidiTrack& track = *reread->GetTrack(reread->TrackCount() - 1);
    const std::vector<std::string> events = Events(track);
    EXPECT_EQ(std::vector<std::string>(events.begin() + 2, events.end()),
              (std::vector<std::string>{"0:0:192:5", "960:960:144:60", "1440:480:128:60", "1440:0:255:47"}));
    EXPECT_EQ(track.GetEvent(3)->TimeLength(), 480);
}

TEST_F(MidiRecorderTest, TheSongsTempoMapsMillisecondsToTicks)
{
    std::vector<test::Timed> changes;
    changes.push_back({0, Tempo(60)});
    changes.push_back({480, Tempo(240)});
    TKVMidiFile tempoSong(nullptr);
    test::SetPulses(tempoSong, 480);
    AddTrack(tempoSong, std::move(changes));
    AddTrack(tempoSong, {});
    const TKVTempoMap map = TKVTempoMap::FromSong(tempoSong);
    struct Case {
        std::int64_t ms;
        std::int32_t tick;
    };
    // 60 bpm for the first 480 ticks (one second), then 240 bpm: 1920 ticks a second.
    for (const Case c : {Case{-5, 0}, Case{0, 0}, Case{500, 240}, Case{1000, 480}, Case{1500, 1440}}) {
        EXPECT_EQ(map.TickAtMs(c.ms), c.tick) << c.ms << " ms";
    }
    EXPECT_EQ(TKVTempoMap(480).TickAtMs(1000), 960);

    player.SetMidiFile(&tempoSong);
    player.StartRecording();
    timer.Run(1500);
    player.PutMidiShort(0x90, 64, 1);
    player.Stop();
    EXPECT_EQ(tempoSong.GetTrack(1)->GetLastEvent()->StartTime(), 1440);
}

TEST_F(MidiRecorderTest, PauseDoesNotCountAsRecordingTime)
{
    player.StartRecording();
    timer.Run(1000);
    timer.SetNow(timer.Now() + 5); // paused between two ticks
    player.PutMidiShort(0x90, 60, 100);
    player.Pause();
    player.PutMidiShort(0x90, 61, 100); // not recording: ignored
    timer.SetNow(timer.Now() + 5000);
    player.ContinueRecording();
    timer.Run(500);
    player.PutMidiShort(0x80, 60, 0);
    player.Stop();
    player.PutMidiShort(0x90, 62, 100);
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"965:965:144:60", "1445:480:128:60"}));
}

// A key still held when the recording ends gets its note-off there, so the note is kept when
// the song is read back (a note-on without its note-off is dropped on reading).
TEST_F(MidiRecorderTest, NotesStillHeldWhenTheRecordingEndsEndThere)
{
    player.StartRecording();
    timer.Run(1000);
    player.PutMidiShort(0x90, 60, 100);
    player.PutMidiShort(0x91, 62, 90);
    timer.Run(200);
    player.PutMidiShort(0x91, 62, 0); // a note-on of velocity 0 ends a note too
    timer.Run(300);
    player.Stop();
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"960:960:144:60", "960:0:145:62", "1152:192:145:62", "1440:288:128:60"}));

    RecordTrack().PutEndEvent();
    const std::unique_ptr<TKVMidiFile> reread = ReadBack();
    const TMyMidiTrack& track = *reread->GetTrack(reread->TrackCount() - 1);
    ASSERT_EQ(track.GetEvent(2)->Event(), 0x90);
    EXPECT_EQ(track.GetEvent(2)->TimeLength(), 480);
}

TEST_F(MidiRecorderTest, APauseKeepsHeldNotesAndAStopAfterItEndsThemAtThePause)
{
    player.StartRecording();
    timer.Run(1000);
    player.PutMidiShort(0x90, 60, 100);
    player.PutMidiShort(0x90, 64, 100);
    timer.Run(500);
    player.Pause();
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"960:960:144:60", "960:0:144:64"}));
    timer.SetNow(timer.Now() + 5000);
    player.ContinueRecording();
    timer.Run(500);
    player.PutMidiShort(0x80, 64, 0);
    player.Pause();
    timer.SetNow(timer.Now() + 5000);
    player.Stop();
    player.Stop(); // nothing more to end
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"960:960:144:60", "960:0:144:64", "1920:960:128:64",
                                                    "1920:0:128:60"}));
}

TEST_F(MidiRecorderTest, VolumeWhileRecordingGoesAfterTheNotesBeforeIt)
{
    player.StartRecording();
    timer.SetNow(timer.Now() + 1000);
    player.PutMidiShort(0x90, 60, 100); // not yet taken by a tick
    player.SetVolume(2, 100);
    player.Stop();
    EXPECT_EQ(Recorded(), (std::vector<std::string>{"960:960:144:60", "960:0:178:7", "960:0:128:60"}));
}

TEST_F(MidiRecorderTest, MessagesFromTheDriverThreadWhileTicksRun)
{
    constexpr int Count = 3000;
    player.StartRecording();
    std::atomic<bool> started{false};
    std::thread driver([&] {
        started = true;
        // Notes played and released: the recording's end adds no note-off to them.
        for (int i = 0; i < Count; ++i) player.PutMidiShort(i % 2 ? 0x80 : 0x90, static_cast<std::uint8_t>(i / 2 % 128), 1);
    });
    while (!started) std::this_thread::yield();
    for (int i = 0; i < 200; ++i) {
        timer.Tick(1);
        // The interface thread reads the track while the driver records.
        EXPECT_GE(RecordTrack().TrackEventCount(), 2);
    }
    driver.join();
    player.Stop();
    const TMyMidiTrack& track = RecordTrack();
    ASSERT_EQ(track.TrackEventCount(), Count + 2);
    for (int i = 3; i < track.TrackEventCount(); ++i) {
        EXPECT_GE(track.GetEvent(i)->DeltaTime(), 0);
        EXPECT_EQ(track.GetEvent(i)->StartTime(), track.GetEvent(i - 1)->StartTime() + track.GetEvent(i)->DeltaTime());
    }
}

} // namespace
} // namespace kv
